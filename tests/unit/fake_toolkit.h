#pragma once

#include <array>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

#include "core/history_line.h"
#include "core/tray_frame_size.h"
#include "tests/unit/fake_event.h"

namespace quor6::fake {

// Thrown by endProcess: the process ends at once, so no statement after the call may run and
// no suspended handler may resume. Tests catch it where the real process would be gone.
struct ProcessEnded {};

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
    std::array<HistoryEntry, kHistoryMenuEntries> historyEntries{};

    std::vector<std::string>& list(ListBox which) {
        return which == ListBox::rirekiList ? rirekiList : rirekilist2;
    }
    const std::vector<std::string>& list(ListBox which) const {
        return which == ListBox::rirekiList ? rirekiList : rirekilist2;
    }
};

struct TrayIcon {
    std::optional<IconHolder> image;  // none: a handle that is not one of the icon set's
    int frame = 16;                   // the size its image was drawn for
};

// A scripted window system: it keeps the window, its controls and the shell's tray as a model,
// logs every call in order, and delivers scripted events to the real handlers of the attached
// frmQuor6 from inside doEvents, a tray request or the tray menu.
class FakeToolkit final : public Toolkit {
  public:
    void attach(frmQuor6& form) { form_ = &form; }

    // --- Scripting. An event arrives in the nth doEvents or tray request from now (sent while
    // the program waits in it), or in the first doEvents from the moment nth milliseconds.
    enum class Trigger { DoEvents, TrayRequest, Time };
    void schedule(Trigger trigger, std::uint64_t nth, const Event& event);
    void onDoEvents(int nth, const Event& event) {
        schedule(Trigger::DoEvents, static_cast<std::uint64_t>(nth), event);
    }
    void insideTrayRequest(int nth, const Event& event) {
        schedule(Trigger::TrayRequest, static_cast<std::uint64_t>(nth), event);
    }
    void atTime(std::uint64_t milliseconds, const Event& event) {
        schedule(Trigger::Time, milliseconds, event);
    }
    void choosePopupCommand(MenuCommand command) { popupChoices_.push_back({command, false}); }
    // The next popup is closed by the second press of a right double-click.
    void closePopupByRightDoubleClick() { popupChoices_.push_back({MenuCommand::None, true}); }
    // Delivered inside the next popup, while the menu is open.
    void duringPopup(const Event& event) { duringPopup_.push_back(event); }
    // Delivered by the `patience`th doEvents in a row that finds nothing pending or scheduled.
    void setIdleEvent(std::optional<Event> event, int patience = 1) {
        idleEvent_ = std::move(event);
        idlePatience_ = patience;
    }
    // Called after every delivered event that returned, nested ones included.
    void setObserver(std::function<void()> observer) { observer_ = std::move(observer); }
    void setDoEventsLimit(int limit) { doEventsLimit_ = limit; }
    // With true, the shell holds what it sends during a tray request until the program next
    // looks for messages, as Windows does; with false it delivers inside it, as Wine may.
    void setDeliverAfterRequests(bool after) { deliverAfterRequests_ = after; }
    void deliver(const Event& event);
    // What the shell held back, delivered now: back in the message loop after Form_Load.
    void deliverHeldBack() { deliverAll(sent_); }
    bool hasScheduledEvents() const { return !scheduled_.empty() || !sent_.empty(); }

    void setInstanceLock(InstanceLock lock) { instanceLock_ = lock; }
    void setSmallIconSize(int pixels) { smallIconSize_ = pixels; }  // frames follow if chosen
    void setLoopExitCode(int code) { loopExitCode_ = code; }
    void setExecutableDirectory(std::string path) { executableDirectory_ = std::move(path); }
    void setWindowsDirectory(std::string path) { windowsDirectory_ = std::move(path); }
    void setStartProcessSucceeds(bool succeeds) { startProcessSucceeds_ = succeeds; }
    void setFileMajorVersion(std::string path, unsigned major) {
        versions_[std::move(path)] = major;
    }
    void setOpenDocumentSucceeds(bool succeeds) { openDocumentSucceeds_ = succeeds; }
    void setShellRefusesRequests(bool refuses) { shellRefuses_ = refuses; }
    // The icon went from the tray by other means (the shell lost it).
    void loseTrayIcon(int slot) { trayIcons_.erase({fakeTextBoxHandle(slot), slot}); }
    // Where the shell shows the icons, as the player would read them: `slots` left to right in
    // a row (a horizontal taskbar) or top to bottom in a column (a vertical one), e.g. "54321".
    // Until placed, the shell cannot say where an icon is (E_NOTIMPL, as Wine answers) and the
    // icons read in add order. Icons in `overflow` sit in a closed overflow flyout, where each
    // reports the same place; `failure` makes every place request fail with that HRESULT.
    enum class Layout { Row, Column };
    void placeIcons(std::string_view slots, Layout layout = Layout::Row,
                    std::string_view overflow = {}, std::int32_t failure = 0) {
        screenOrder_ = slots;
        layout_ = layout;
        overflow_ = overflow;
        placeFailure_ = failure;
        placementSeen_ = false;
    }
    const std::string& screenOrder() const { return screenOrder_; }
    // Whether the program has been given a reason to ask where its icons stand (a press, the
    // icons put back) since they were last placed, and the shell can tell each digit's place.
    bool placementKnown() const;

    // --- Observation.
    WindowModel& window() { return window_; }
    const WindowModel& window() const { return window_; }
    std::size_t mark() const { return calls_.size(); }
    // The calls of these kinds (all for none) from `from` on, described.
    std::vector<std::string> trace(std::initializer_list<std::string_view> kinds,
                                   std::size_t from = 0) const;
    std::vector<std::string> traceAll(std::size_t from = 0) const { return trace({}, from); }
    std::optional<TrayIcon> trayIcon(int slot) const;
    std::size_t trayIconCount() const { return trayIcons_.size(); }
    // Slots 1..5 as characters: digits, S B O K N G, '_' for the blank, '@' for the sphere,
    // '-' for an absent icon and '?' for an image that is not in the icon set.
    std::string trayPicture() const;
    // The same pictures read off the screen in reading order, e.g. "@1234" for slots "54321".
    std::string screenPicture() const;
    bool trayRetryTimerOn() const { return trayRetryTimerOn_; }
    std::uint64_t now() const { return now_; }
    bool processEnded() const { return ended_; }
    int callsAfterEnd() const { return callsAfterEnd_; }

    // --- Toolkit.
    double formLeft() const override { return window_.left; }  // the program never asks
    double formTop() const override { return window_.top; }
    double formWidth() const override { return logged(CallKind::FormWidth, window_.width); }
    double formHeight() const override { return logged(CallKind::FormHeight, window_.height); }
    void setFormLeft(float twips) override {
        window_.left = static_cast<double>(set(CallKind::SetFormLeft, twips));
    }
    void setFormTop(float twips) override {
        window_.top = static_cast<double>(set(CallKind::SetFormTop, twips));
    }
    double screenWidth() const override {
        return logged(CallKind::ScreenWidth, window_.screenWidth);
    }
    double screenHeight() const override {
        return logged(CallKind::ScreenHeight, window_.screenHeight);
    }
    void showForm() override { window_.visible = logged(CallKind::ShowForm, true); }
    void hideForm() override { window_.visible = logged(CallKind::HideForm, false); }
    Handle32 formHandle() const override { return logged(CallKind::FormHandle, kFormHandle); }
    Handle32 textBoxHandle(int slot) const override {
        return slot >= 1 && slot <= 5 ? fakeTextBoxHandle(slot) : throw std::out_of_range("Text");
    }
    std::string guessText() const override { return window_.guess; }
    void setGuessText(std::string_view text) override {
        window_.guess = log(CallKind::SetGuessText, std::string(text));
    }
    Handle32 iconHandle(IconHolder holder) const override { return fakeIconHandle(holder, frame_); }
    void chooseTrayIconFrames() override {
        frame_ = trayFrameSize(set(CallKind::ChooseTrayIconFrames, smallIconSize_));
    }
    bool shellNotifyIcon(std::uint32_t request, const NotifyIconRecord& record) override;
    std::int32_t trayIconPlace(Handle32 host, std::uint32_t id, ScreenRect& place) override;
    void setTrayRetryTimer(bool on) override {
        log(CallKind::SetTrayRetryTimer, on ? "on" : "off");
        trayRetryTimerOn_ = on;
    }
    void listClear(ListBox list) override {
        log(CallKind::ListClear, listName(list));
        window_.list(list).clear();
    }
    void listAppend(ListBox list, std::string_view line) override {
        log(CallKind::ListAppend, listName(list) + ' ' + std::string(line));
        window_.list(list).emplace_back(line);
    }
    int listCount(ListBox list) const override {
        return static_cast<int>(window_.list(list).size());
    }
    std::string listItem(ListBox list, int index) const override {
        return window_.list(list).at(static_cast<std::size_t>(index));  // throws out of range
    }
    void setListVisible(ListBox list, bool visible) override {
        log(CallKind::SetListVisible, listName(list) + (visible ? " true" : " false"));
        (list == ListBox::rirekiList ? window_.rirekiListVisible : window_.rirekilist2Visible) =
            visible;
    }
    void setMenuRootVisible(bool visible) override { set(CallKind::SetMenuRootVisible, visible); }
    void setHistoryEntryCaption(int index, std::string_view caption) override {
        log(CallKind::SetHistoryEntryCaption, std::to_string(index) + ' ' + std::string(caption));
        window_.historyEntries.at(static_cast<std::size_t>(index)).caption = caption;
    }
    void setHistoryEntryVisible(int index, bool visible) override {
        log(CallKind::SetHistoryEntryVisible,
            std::to_string(index) + (visible ? " true" : " false"));
        window_.historyEntries.at(static_cast<std::size_t>(index)).visible = visible;
    }
    bool setForegroundWindow(Handle32 window) override {
        return logged(CallKind::SetForegroundWindow, true, hexText(window));
    }
    TrayMenuOutcome popupTrayMenu() override;
    void closeTrayMenu() override {
        log(CallKind::CloseTrayMenu);
        popupClosed_ = popupOpen_;
    }
    // Delivers what is due, then ends as if a quit message had come from outside.
    int runMessageLoop() override {
        log(CallKind::RunMessageLoop);
        doEvents();
        return loopExitCode_;
    }
    void doEvents() override;
    void sleepMilliseconds(unsigned milliseconds) override {
        now_ += set(CallKind::SleepMilliseconds, milliseconds);
    }
    // The box's message loop lets in what the shell held back; it shows the text it was given.
    void messageBox(std::string_view text) override {
        const std::string shown(text);
        deliverAll(sent_);
        log(CallKind::MessageBox, shown);
    }
    bool previousInstanceRunning() override {
        return set(CallKind::PreviousInstanceRunning, anotherCopyRunning(instanceLock_));
    }
    [[noreturn]] void endProcess() override {
        log(CallKind::EndProcess);
        ended_ = true;
        throw ProcessEnded{};
    }
    std::string executableDirectory() const override { return executableDirectory_; }
    std::string windowsDirectory() const override { return windowsDirectory_; }
    bool startProcess(std::string_view program, std::string_view commandLine) override {
        const std::string detail = std::string(program) + " | " + std::string(commandLine);
        return logged(CallKind::StartProcess, startProcessSucceeds_, detail);
    }
    std::optional<unsigned> fileMajorVersion(std::string_view path) const override {
        const auto found = versions_.find(path);
        return found == versions_.end() ? std::nullopt : std::optional(found->second);
    }
    bool openDocument(std::string_view path) override {
        return logged(CallKind::OpenDocument, openDocumentSucceeds_, std::string(path));
    }

  private:
    struct Scheduled {
        Trigger trigger;
        std::uint64_t at;  // the doEvents, the tray request or the moment that delivers it
        Event event;
    };

    // Logs a call; gives back its detail.
    std::string log(std::string_view kind, std::string detail = {}) const;
    template <typename T>
    T logged(std::string_view kind, T value, std::string detail = {}) const {
        log(kind, std::move(detail));
        return value;
    }
    // Logs a call that passes `value`, shown in the detail.
    template <typename T>
    T set(std::string_view kind, T value) const {
        if constexpr (std::is_same_v<T, bool>)
            log(kind, value ? "true" : "false");
        else
            log(kind, std::to_string(value));
        return value;
    }
    void deliverNow(const Event& event);
    void takeDue(Trigger trigger, std::uint64_t count, std::deque<Event>& queue);
    void deliverAll(std::deque<Event>& queue);

    frmQuor6* form_ = nullptr;
    WindowModel window_;
    std::map<std::pair<Handle32, int>, TrayIcon> trayIcons_;  // by host window and id
    mutable std::vector<Call> calls_;
    mutable int callsAfterEnd_ = 0;
    std::uint64_t now_ = 0;
    std::uint64_t doEvents_ = 0;
    std::uint64_t trayRequests_ = 0;
    int doEventsLimit_ = 100000;
    bool ended_ = false;

    std::vector<Scheduled> scheduled_;  // the earliest first, else in the order scripted
    std::deque<Event> posted_;          // delivered by doEvents only
    std::deque<Event> sent_;            // also delivered inside tray requests
    std::deque<TrayMenuOutcome> popupChoices_;
    std::deque<Event> duringPopup_;
    bool popupOpen_ = false;
    bool popupClosed_ = false;
    std::optional<Event> idleEvent_;
    int idlePatience_ = 1;
    int idleRun_ = 0;
    std::function<void()> observer_;

    InstanceLock instanceLock_ = InstanceLock::Created;
    int smallIconSize_ = 16;
    int frame_ = 16;
    int loopExitCode_ = 0;
    std::string executableDirectory_ = "C:\\Program Files\\quor6";
    std::string windowsDirectory_ = "C:\\windows";
    bool startProcessSucceeds_ = true;
    std::map<std::string, unsigned, std::less<>> versions_;  // none: no version record
    bool openDocumentSucceeds_ = true;
    bool shellRefuses_ = false;
    std::string screenOrder_;
    Layout layout_ = Layout::Row;
    std::string overflow_;
    std::int32_t placeFailure_ = 0;
    bool placementSeen_ = false;
    bool trayRetryTimerOn_ = false;
    bool deliverAfterRequests_ = false;
    int delivering_ = 0;  // events being handled, nested ones included
};

}  // namespace quor6::fake
