#pragma once

#include <windows.h>

namespace quor6::win32 {

// Watches the loop of the open tray menu for the second press of a right double-click on the
// menu icon. The press that opened the menu reached the program through the tray; the menu
// loop then takes every mouse press, so the second one never reaches the tray and would only
// be a click beside the menu. This watch sees the loop's messages through a message filter
// hook: a right press within the system's double-click time and rectangle of the first closes
// the menu and is swallowed. Only the first press in the loop can complete the double-click.
//
// One watch at a time, for the life of one TrackPopupMenu call.
class RightDoubleClickWatch {
  public:
    // `firstPress`: where and when (tick count) the press that opens the menu was made.
    RightDoubleClickWatch(POINT firstPress, DWORD firstPressTime);
    ~RightDoubleClickWatch();

    RightDoubleClickWatch(const RightDoubleClickWatch&) = delete;
    RightDoubleClickWatch& operator=(const RightDoubleClickWatch&) = delete;

    // The menu was closed by the second press.
    bool completed() const { return completed_; }

  private:
    static LRESULT CALLBACK filter(int code, WPARAM wParam, LPARAM lParam);
    // True when the message is swallowed.
    bool onMenuMessage(const MSG& message);

    POINT firstPress_;
    DWORD firstPressTime_;
    bool armed_ = true;
    bool completed_ = false;
    HHOOK hook_ = nullptr;
    RightDoubleClickWatch* outer_ = nullptr;
    // The hook procedure has no context argument: it finds the watch here. The program's
    // windows all live on its one thread, so one slot serves (thread_local would link the
    // runtime's emulated thread storage into the exe).
    static RightDoubleClickWatch* current_;
};

}  // namespace quor6::win32
