#include "shell/win32/right_double_click_watch.h"

#include <cstdlib>

namespace quor6::win32 {

RightDoubleClickWatch* RightDoubleClickWatch::current_ = nullptr;

namespace {

bool isRightPress(UINT message) {
    // With the menu's capture the press arrives in its client form, but which form it takes
    // depends on the window under the pointer; all of them count.
    return message == WM_RBUTTONDOWN || message == WM_RBUTTONDBLCLK ||
           message == WM_NCRBUTTONDOWN || message == WM_NCRBUTTONDBLCLK;
}

bool isPress(UINT message) {
    return isRightPress(message) || message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK ||
           message == WM_NCLBUTTONDOWN || message == WM_NCLBUTTONDBLCLK ||
           message == WM_MBUTTONDOWN || message == WM_MBUTTONDBLCLK ||
           message == WM_NCMBUTTONDOWN || message == WM_NCMBUTTONDBLCLK;
}

// Whether a press at `point` and `time` makes a double-click with one at `first` and
// `firstTime`, by the system's double-click time and rectangle.
bool isDoubleClick(POINT first, DWORD firstTime, POINT point, DWORD time) {
    // Tick counts wrap; the difference of two of them does not.
    if (time - firstTime > ::GetDoubleClickTime())
        return false;
    // The double-click rectangle is centred on the first press.
    return std::abs(point.x - first.x) <= ::GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
           std::abs(point.y - first.y) <= ::GetSystemMetrics(SM_CYDOUBLECLK) / 2;
}

}  // namespace

RightDoubleClickWatch::RightDoubleClickWatch(POINT firstPress, DWORD firstPressTime)
    : firstPress_(firstPress), firstPressTime_(firstPressTime), outer_(current_) {
    current_ = this;
    hook_ = ::SetWindowsHookExW(WH_MSGFILTER, &RightDoubleClickWatch::filter, nullptr,
                                ::GetCurrentThreadId());
}

RightDoubleClickWatch::~RightDoubleClickWatch() {
    if (hook_ != nullptr)
        ::UnhookWindowsHookEx(hook_);
    current_ = outer_;
}

bool RightDoubleClickWatch::onMenuMessage(const MSG& message) {
    if (!armed_ || !isPress(message.message))
        return false;
    armed_ = false;
    if (!isRightPress(message.message) ||
        !isDoubleClick(firstPress_, firstPressTime_, message.pt, message.time)) {
        return false;
    }
    completed_ = true;
    ::EndMenu();
    return true;
}

LRESULT CALLBACK RightDoubleClickWatch::filter(int code, WPARAM wParam, LPARAM lParam) {
    RightDoubleClickWatch* watch = current_;
    if (code == MSGF_MENU && watch != nullptr && lParam != 0 &&
        watch->onMenuMessage(*reinterpret_cast<const MSG*>(lParam))) {
        return TRUE;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace quor6::win32
