#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/icon_holder.h"
#include "core/reading_order.h"

namespace quor6 {

struct NotifyIconRecord;

// Handles as the tray request record carries them: 32 bits wide.
using Handle32 = std::uint32_t;

enum class ListBox { rirekiList, rirekilist2 };

// Command identifiers of the tray menu entries (also the WM_COMMAND ids on Win32).
enum class MenuCommand : int {
    None = 0,
    resetAnser = 101,
    displayrireki = 102,
    diplayHelp = 103,
    mnuAbout = 104,
    mnuEnd = 105,
    rirekimnuFirst = 110,  // rirekimnu(0); the ten entries are 110..119
    rirekimnuLast = 119,
};

// How the tray menu closed: with the entry chosen (None when it was dismissed), or by a second
// right press on the menu icon that made a double-click with the press that opened the menu.
struct TrayMenuOutcome {
    MenuCommand command = MenuCommand::None;
    bool rightDoubleClick = false;
};

// What asking for the named lock that marks a running copy of the program found.
enum class InstanceLock { Created, AlreadyExists, AccessDenied, Failed };

// Another copy runs where the lock was there already, and also where it is there but may not be
// opened: a copy running elevated holds a lock that a normal copy is denied. A lock that cannot
// be made for another reason says nothing of another copy, and the game is played without it.
constexpr bool anotherCopyRunning(InstanceLock lock) {
    return lock == InstanceLock::AlreadyExists || lock == InstanceLock::AccessDenied;
}

// Tray requests passed to the shell.
inline constexpr std::uint32_t kNimAdd = 0;
inline constexpr std::uint32_t kNimModify = 1;
inline constexpr std::uint32_t kNimDelete = 2;

// Everything the program's handlers may ask of the window system. One implementation drives
// real Win32 windows; the test suite has a scripted fake. All positions and sizes are twips.
class Toolkit {
  public:
    virtual ~Toolkit() = default;

    // The window frmQuor6.
    virtual double formLeft() const = 0;
    virtual double formTop() const = 0;
    virtual double formWidth() const = 0;
    virtual double formHeight() const = 0;
    virtual void setFormLeft(float twips) = 0;
    virtual void setFormTop(float twips) = 0;
    virtual double screenWidth() const = 0;
    virtual double screenHeight() const = 0;
    virtual void showForm() = 0;
    virtual void hideForm() = 0;
    virtual Handle32 formHandle() const = 0;

    // Text1..Text5 (slot 1..5): the tray hosts. Text1's text is the guess.
    virtual Handle32 textBoxHandle(int slot) const = 0;
    virtual std::string guessText() const = 0;
    virtual void setGuessText(std::string_view text) = 0;

    // The image handle held by an icon holder, valid for the life of the window.
    virtual Handle32 iconHandle(IconHolder holder) const = 0;

    // Shell_NotifyIconA with the one request record; the shell may call back into the program
    // (sent messages) before this returns.
    virtual bool shellNotifyIcon(std::uint32_t request, const NotifyIconRecord& record) = 0;
    // Shell_NotifyIconGetRect: where the shell shows the icon of (host, id), in screen pixels.
    // Its HRESULT: S_OK (0) with `place` filled in, or a failure (negative), as also where the
    // system has no such call.
    virtual std::int32_t trayIconPlace(Handle32 host, std::uint32_t id, ScreenRect& place) = 0;
    // The tray may now draw its icons at another size (Windows makes its tray anew after a
    // change of scaling): the icon handles given out from now on are of the frame drawn for the
    // small-icon size then in force. Handles given out before stay valid.
    virtual void chooseTrayIconFrames() = 0;
    // A repeating timer, about twice a second, that calls frmQuor6::onTrayRetryTimer while on.
    virtual void setTrayRetryTimer(bool on) = 0;

    // The two list boxes (texts in UTF-8).
    virtual void listClear(ListBox list) = 0;
    virtual void listAppend(ListBox list, std::string_view line) = 0;
    virtual int listCount(ListBox list) const = 0;
    virtual std::string listItem(ListBox list, int index) const = 0;
    virtual void setListVisible(ListBox list, bool visible) = 0;

    // The menu root mnuTray (shown as a menu bar when visible) and rirekimnu(0..9).
    virtual void setMenuRootVisible(bool visible) = 0;
    virtual void setHistoryEntryCaption(int index, std::string_view caption) = 0;
    virtual void setHistoryEntryVisible(int index, bool visible) = 0;

    // Tray menu: SetForegroundWindow, then the popup at the pointer. The outcome is returned so
    // that the chosen command runs inside the calling handler. The menu loop takes every mouse
    // press while it is open, so the popup itself watches for the second press of a right
    // double-click on the menu icon, closes the menu and reports it.
    virtual bool setForegroundWindow(Handle32 window) = 0;
    virtual TrayMenuOutcome popupTrayMenu() = 0;
    // Closes the tray menu if one is open; popupTrayMenu then returns as if it was dismissed.
    virtual void closeTrayMenu() = 0;

    // The message loop after start-up. It returns, with the process's exit code, only when
    // something else ends it (a quit message posted from outside, the system failing to deliver
    // messages): the program's own quit ends the process inside it.
    virtual int runMessageLoop() = 0;
    // Message handling: deliver everything pending, then return; and a blocking pause.
    virtual void doEvents() = 0;
    virtual void sleepMilliseconds(unsigned milliseconds) = 0;

    // A modal box with an OK button only, no icon, titled with the program name.
    virtual void messageBox(std::string_view text) = 0;

    // Process services.
    virtual bool previousInstanceRunning() = 0;
    [[noreturn]] virtual void endProcess() = 0;
    virtual std::string executableDirectory() const = 0;
    virtual std::string windowsDirectory() const = 0;
    // The system directory; empty where the platform has none.
    virtual std::string systemDirectory() const { return {}; }
    // Starts `program` with `commandLine` in a normal, focused window without waiting for it.
    virtual bool startProcess(std::string_view program, std::string_view commandLine) = 0;
    // The first number of a program file's version (from its version record); nothing where
    // the file or its record is missing.
    virtual std::optional<unsigned> fileMajorVersion(std::string_view path) const = 0;
    // Opens a document with the program the system has for its kind (the shell's "open"),
    // without waiting; false where nothing could open it.
    virtual bool openDocument(std::string_view path) = 0;
};

}  // namespace quor6
