// The keyboard on frmQuor6: where the focus may rest and what a key does.
#include "shell/win32/control_ids.h"
#include "shell/win32/form_window.h"

namespace quor6::win32 {

bool FormWindow::controlsShown() const {
    return ::IsWindowVisible(hwnd_) && !::IsIconic(hwnd_);
}

bool FormWindow::inView(HWND control) const {
    constexpr LONG_PTR kReachable = WS_VISIBLE | WS_TABSTOP;
    return control != nullptr && ::IsChild(hwnd_, control) &&
           (::GetWindowLongPtrW(control, GWL_STYLE) & kReachable) == kReachable &&
           ::IsWindowEnabled(control);
}

HWND FormWindow::focusTarget() const {
    // A hidden or minimized window keeps the focus itself: a key that reached one of its
    // controls would act on a button nobody sees.
    if (!controlsShown())
        return hwnd_;
    for (HWND control : {::GetFocus(), lastFocus_}) {
        if (inView(control))
            return control;
    }
    HWND first = ::GetNextDlgTabItem(hwnd_, nullptr, FALSE);
    return first != nullptr ? first : hwnd_;
}

void FormWindow::placeFocus() {
    // Only while the window is active: SetFocus would otherwise activate it.
    if (hwnd_ != nullptr && ::GetActiveWindow() == hwnd_)
        ::SetFocus(focusTarget());
}

void FormWindow::onActivate(bool active) {
    if (active) {
        placeFocus();
        return;
    }
    HWND focus = ::GetFocus();
    if (inView(focus))
        lastFocus_ = focus;
}

void FormWindow::showHistoryList(bool shown) {
    ::ShowWindow(control(kRirekilist2Id), shown ? SW_SHOW : SW_HIDE);
    // The list covers the picture: the picture is a tab stop only while it can be seen.
    HWND picture = control(kPicture1Id);
    const LONG_PTR style = ::GetWindowLongPtrW(picture, GWL_STYLE);
    ::SetWindowLongPtrW(picture, GWL_STYLE, shown ? style & ~WS_TABSTOP : style | WS_TABSTOP);
    placeFocus();
}

bool FormWindow::preTranslate(MSG& message) {
    if (hwnd_ == nullptr || (message.hwnd != hwnd_ && !::IsChild(hwnd_, message.hwnd)))
        return false;
    const bool isKey = message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST;
    if (!controlsShown())
        return isKey;  // dropped: see focusTarget
    if (message.message == WM_KEYDOWN &&
        (message.wParam == VK_RETURN || message.wParam == VK_ESCAPE)) {
        // The window has no default and no cancel button. The dialog manager would press a
        // focused button on Enter only while it is the default one, and else send IDOK, and
        // IDCANCEL on Escape: here Enter presses the focused button and nothing else does.
        HWND focus = ::GetFocus();
        const bool onButton = inView(focus) && (::SendMessageW(focus, WM_GETDLGCODE, 0, 0) &
                                                (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
        if (message.wParam == VK_RETURN && onButton)
            ::SendMessageW(focus, BM_CLICK, 0, 0);
        return true;
    }
    // Tab and Shift+Tab round the shown tab stops, focus cues shown once keys are used.
    return ::IsDialogMessageW(hwnd_, &message) != FALSE;
}

}  // namespace quor6::win32
