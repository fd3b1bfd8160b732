#pragma once

#include <windows.h>

#include "platform/toolkit.h"
#include "shell/win32/com_apartment.h"
#include "shell/win32/form_window.h"
#include "shell/win32/icon_set.h"
#include "shell/win32/scoped_handle.h"
#include "shell/win32/tray_menu.h"

namespace quor6::win32 {

// The toolkit on real Win32 windows. Member order matters: the window is destroyed before
// the menu and the icons it uses.
class Win32Toolkit final : public Toolkit {
  public:
    explicit Win32Toolkit(HINSTANCE instance);

    bool created() const { return form_.handle() != nullptr; }
    void connect(FormEvents& events) { form_.connect(events); }

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
    std::int32_t trayIconPlace(Handle32 host, std::uint32_t id, ScreenRect& place) override;
    void chooseTrayIconFrames() override;
    void setTrayRetryTimer(bool on) override;

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

    int runMessageLoop() override;
    void doEvents() override;
    void sleepMilliseconds(unsigned milliseconds) override;
    void messageBox(std::string_view text) override;

    bool previousInstanceRunning() override;
    [[noreturn]] void endProcess() override;
    std::string executableDirectory() const override;
    std::string windowsDirectory() const override;
    std::string systemDirectory() const override;
    bool startProcess(std::string_view program, std::string_view commandLine) override;
    std::optional<unsigned> fileMajorVersion(std::string_view path) const override;
    bool openDocument(std::string_view path) override;

  private:
    HWND listWindow(ListBox list) const;
    RECT formRect() const;
    double toTwips(int pixels) const;
    int toPixels(double twips) const;
    void dispatch(MSG& message);

    HINSTANCE instance_;
    IconSet icons_;
    TrayMenu menu_;
    FormWindow form_;
    ScopedKernelHandle instanceMutex_;
    ComApartment com_;
};

}  // namespace quor6::win32
