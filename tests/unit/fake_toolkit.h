#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <initializer_list>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/history_line.h"
#include "core/icon_holder.h"
#include "platform/toolkit.h"
#include "tests/unit/fake_event.h"
#include "tests/unit/fake_trace.h"

namespace quor6 {
class frmQuor6;
}

namespace quor6::fake {

// Thrown by endProcess: the process ends at once, so no statement after the call may run and
// no suspended handler may resume. Tests catch it where the real process would be gone.
struct ProcessEnded {};

// What a real toolkit would answer with a run-time error: a control that does not exist, an
// index out of range, or a loop that never lets the player go.
class ToolkitFault : public std::logic_error {
  public:
    using std::logic_error::logic_error;
};

struct HistoryEntry {
    std::string caption;
    bool visible = false;
};

// The window frmQuor6 and its controls as the program has left them (sizes in twips).
struct WindowModel {
    double left = 0;
    double top = 0;
    double width = 4950;  // client area 4830 x 2775 plus frame and caption
    double height = 3405;
    double screenWidth = 15360;  // 1024 x 768 pixels at 15 twips per pixel
    double screenHeight = 11520;
    bool visible = true;          // until the program hides it
    std::string guess = "Text1";  // the design text of Text1, until start-up sets it
    std::vector<std::string> rirekiList;
    std::vector<std::string> rirekilist2;
    bool rirekiListVisible = false;
    bool rirekilist2Visible = false;
    bool menuRootVisible = true;
    std::array<HistoryEntry, kHistoryMenuEntries> historyEntries{};

    std::vector<std::string>& list(ListBox which) {
        return which == ListBox::rirekiList ? rirekiList : rirekilist2;
    }
    const std::vector<std::string>& list(ListBox which) const {
        return which == ListBox::rirekiList ? rirekiList : rirekilist2;
    }
};

struct TrayIcon {
    Handle32 host = 0;
    std::uint32_t id = 0;
    Handle32 iconHandle = 0;
    std::optional<IconHolder> image;
};

struct StartedProcess {
    std::string program;
    std::string commandLine;
};

// A scripted window system: it keeps the window, its controls and the shell's tray as a model,
// logs every call in order with the virtual time, and delivers scripted events to the real
// handlers of the attached frmQuor6 from inside doEvents or from inside a tray request.
class FakeToolkit final : public Toolkit {
  public:
    FakeToolkit() = default;
    FakeToolkit(const FakeToolkit&) = delete;
    FakeToolkit& operator=(const FakeToolkit&) = delete;

    void attach(frmQuor6& form) { form_ = &form; }

    // --- Scripting. Counts are relative to the moment of scripting: 1 is the next call.
    void onDoEvents(int nth, const Event& event);
    void atTime(std::uint64_t milliseconds, const Event& event);  // first doEvents from then
    void insideTrayRequest(int nth, const Event& event);
    void choosePopupCommand(MenuCommand command);
    // Delivered while the next message box is up (its modal loop runs sent messages).
    void whileMessageBoxShows(const Event& event) { duringMessageBox_.push_back(event); }
    // The next popup is closed by the second press of a right double-click.
    void closePopupByRightDoubleClick();
    // Delivered inside the next popup, while the menu is open.
    void duringPopup(const Event& event) { duringPopup_.push_back(event); }
    // Delivered by a doEvents that finds nothing pending and nothing scheduled.
    void setIdleEvent(std::optional<Event> event) { idleEvent_ = std::move(event); }
    // Called after every delivered event that returned, nested ones included.
    void setObserver(std::function<void()> observer) { observer_ = std::move(observer); }
    void setDoEventsLimit(int limit) { doEventsLimit_ = limit; }
    // With false, events scripted inside a delete request wait for the next other request.
    void setDeliverInsideDeletes(bool deliver) { deliverInsideDeletes_ = deliver; }
    void deliver(const Event& event);
    bool hasScheduledEvents() const;

    void setPreviousInstanceRunning(bool running) { previousInstance_ = running; }
    void setExecutableDirectory(std::string directory) {
        executableDirectory_ = std::move(directory);
    }
    void setWindowsDirectory(std::string directory) { windowsDirectory_ = std::move(directory); }
    void setStartProcessSucceeds(bool succeeds) { startProcessSucceeds_ = succeeds; }
    void setFileMajorVersion(const std::string& path, unsigned major) {
        fileMajorVersions_[path] = major;
    }
    void setOpenDocumentSucceeds(bool succeeds) { openDocumentSucceeds_ = succeeds; }
    void setShellRefusesRequests(bool refuses) { shellRefuses_ = refuses; }
    // The shell restarted: its new tray knows none of the icons.
    void recreateTray() { trayIcons_.clear(); }

    // --- Observation.
    WindowModel& window() { return window_; }
    const WindowModel& window() const { return window_; }
    const std::vector<Call>& calls() const { return calls_; }
    std::size_t mark() const { return calls_.size(); }
    std::vector<std::string> trace(std::initializer_list<CallKind> kinds,
                                   std::size_t from = 0) const;
    std::vector<std::string> traceAll(std::size_t from = 0) const;
    std::vector<TrayRequest> trayRequests(std::size_t from = 0) const;
    std::optional<TrayIcon> trayIcon(int slot) const;
    std::size_t trayIconCount() const { return trayIcons_.size(); }
    // Slots 1..5 as characters: digits, S B O K N G, '_' for the blank, '@' for the sphere,
    // '-' for an absent icon and '?' for an image that is not in the icon set.
    std::string trayPicture() const;
    std::uint64_t now() const { return now_; }
    int doEventsCount() const { return doEventsCount_; }
    int trayRequestCount() const { return trayRequestCount_; }
    const std::vector<std::string>& messageBoxes() const { return messageBoxes_; }
    const std::vector<StartedProcess>& startedProcesses() const { return started_; }
    const std::vector<std::string>& openedDocuments() const { return opened_; }
    bool processEnded() const { return ended_; }
    int callsAfterEnd() const { return callsAfterEnd_; }
    int deliveryDepth() const { return depth_; }
    int maxDeliveryDepth() const { return maxDepth_; }

    // --- Toolkit.
    double formLeft() const override;
    double formTop() const override;
    double formWidth() const override;
    double formHeight() const override;
    void setFormLeft(float twips) override;
    void setFormTop(float twips) override;
    double screenWidth() const override;
    double screenHeight() const override;
    void showForm() override;
    void hideForm() override;
    Handle32 formHandle() const override;
    Handle32 textBoxHandle(int slot) const override;
    std::string guessText() const override;
    void setGuessText(std::string_view text) override;
    Handle32 iconHandle(IconHolder holder) const override;
    bool shellNotifyIcon(std::uint32_t request, const NotifyIconRecord& record) override;
    void listClear(ListBox list) override;
    void listAppend(ListBox list, std::string_view line) override;
    int listCount(ListBox list) const override;
    std::string listItem(ListBox list, int index) const override;
    void setListVisible(ListBox list, bool visible) override;
    void setMenuRootVisible(bool visible) override;
    void setHistoryEntryCaption(int index, std::string_view caption) override;
    void setHistoryEntryVisible(int index, bool visible) override;
    bool setForegroundWindow(Handle32 window) override;
    TrayMenuOutcome popupTrayMenu() override;
    void closeTrayMenu() override;
    void doEvents() override;
    void sleepMilliseconds(unsigned milliseconds) override;
    void messageBox(std::string_view text) override;
    bool previousInstanceRunning() override;
    [[noreturn]] void endProcess() override;
    std::string executableDirectory() const override;
    std::string windowsDirectory() const override;
    bool startProcess(std::string_view program, std::string_view commandLine) override;
    std::optional<unsigned> fileMajorVersion(std::string_view path) const override;
    bool openDocument(std::string_view path) override;

  private:
    struct Scheduled {
        std::uint64_t at;
        Event event;
    };

    std::size_t log(CallKind kind, std::string detail = {}) const;
    void deliverNow(const Event& event);
    void queueDueEvents();
    void deliverSentMessages();
    bool applyTrayRequest(const TrayRequest& request);
    HistoryEntry& historyEntry(int index);

    frmQuor6* form_ = nullptr;
    WindowModel window_;
    std::map<std::pair<Handle32, std::uint32_t>, TrayIcon> trayIcons_;

    mutable std::vector<Call> calls_;
    mutable int callsAfterEnd_ = 0;
    std::uint64_t now_ = 0;
    int doEventsCount_ = 0;
    int doEventsLimit_ = 100000;
    int trayRequestCount_ = 0;
    int depth_ = 0;
    int maxDepth_ = 0;
    bool ended_ = false;

    std::vector<Scheduled> byDoEvents_;
    std::vector<Scheduled> byTime_;
    std::vector<Scheduled> byTrayRequest_;
    std::deque<Event> pending_;      // posted: delivered by doEvents only
    std::deque<Event> sentPending_;  // sent: also delivered inside tray requests
    std::vector<Event> duringMessageBox_;
    std::deque<TrayMenuOutcome> popupChoices_;
    std::vector<Event> duringPopup_;
    bool popupOpen_ = false;
    bool popupClosed_ = false;
    std::optional<Event> idleEvent_;
    std::function<void()> observer_;

    bool previousInstance_ = false;
    std::string executableDirectory_ = "C:\\Program Files\\quor6";
    std::string windowsDirectory_ = "C:\\windows";
    bool startProcessSucceeds_ = true;
    std::map<std::string, unsigned, std::less<>> fileMajorVersions_;  // none: no version record
    bool openDocumentSucceeds_ = true;
    bool shellRefuses_ = false;
    bool deliverInsideDeletes_ = true;
    std::vector<std::string> messageBoxes_;
    std::vector<StartedProcess> started_;
    std::vector<std::string> opened_;
};

}  // namespace quor6::fake
