#include "shell/win32/form_window.h"

#include <commctrl.h>

#include <string>

#include "resources/resource_ids.h"
#include "resources/version.h"
#include "shell/win32/control_ids.h"
#include "shell/win32/dpi.h"
#include "tray/tray_dispatch.h"
#include "tray/tray_slots.h"

namespace quor6::win32 {

namespace {

// WM_GETDPISCALEDSIZE, from Windows 10 (1703) on; the headers declare it only for builds that
// require that version.
constexpr UINT kGetDpiScaledSize = 0x02E4;

// Text1..Text5, one edit box per tray slot.
constexpr bool isTrayHost(int id) {
    return id >= kText1Id && id < kText1Id + kSlotCount;
}

std::wstring loadString(HINSTANCE instance, UINT id) {
    const wchar_t* text = nullptr;
    const int length = ::LoadStringW(instance, id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 ? std::wstring(text, static_cast<std::size_t>(length)) : std::wstring();
}

void registerClass(HINSTANCE instance, const IconSet& icons, WNDPROC proc) {
    WNDCLASSEXW cls{};
    cls.cbSize = sizeof(cls);
    cls.lpfnWndProc = proc;
    cls.hInstance = instance;
    cls.hIcon = icons.program();
    cls.hIconSm = icons.programSmall();
    cls.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    cls.lpszClassName = kFormClassName;
    ::RegisterClassExW(&cls);
}

}  // namespace

FormWindow::FormWindow(HINSTANCE instance, const IconSet& icons, HMENU menuBar)
    : instance_(instance), icons_(icons), dpi_(systemDpi()) {
    registerClass(instance, icons, &FormWindow::windowProc);
    // The broadcast a new tray sends; its number differs from session to session.
    taskbarCreatedMessage_ = ::RegisterWindowMessageW(L"TaskbarCreated");

    const SIZE frame = frameSize(dpi_);
    const std::wstring title = loadString(instance, IDS_WINDOW_TITLE);
    // A control parent, so that the dialog manager takes the keys (preTranslate).
    ::CreateWindowExW(WS_EX_CONTROLPARENT, kFormClassName, title.c_str(), kStyle | WS_CLIPCHILDREN,
                      CW_USEDEFAULT, CW_USEDEFAULT, frame.cx, frame.cy, nullptr, menuBar, instance,
                      this);
    if (hwnd_ == nullptr)
        return;
    createTrayHosts();
    // The monitor the window starts on may be scaled otherwise than the process started.
    if (const int dpi = windowDpi(hwnd_); dpi != dpi_) {
        applyDpi(dpi);
        const SIZE resized = frameSize(dpi);
        ::SetWindowPos(hwnd_, nullptr, 0, 0, resized.cx, resized.cy,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

FormWindow::~FormWindow() {
    if (hwnd_ == nullptr)
        return;
    // The menu belongs to TrayMenu; detach it so that the window does not destroy it too.
    ::SetMenu(hwnd_, nullptr);
    ::DestroyWindow(hwnd_);
}

void FormWindow::createTrayHosts() {
    // Never seen; the shell knows each icon by its host window and slot.
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        HWND host = createChild(L"EDIT", L"", ES_AUTOHSCROLL, kText1Id + slot - 1);
        ::SetWindowSubclass(host, &FormWindow::trayHostProc, static_cast<UINT_PTR>(slot),
                            reinterpret_cast<DWORD_PTR>(this));
    }
}

HWND FormWindow::control(int id) const {
    if (!isTrayHost(id))
        completeControls();
    return ::GetDlgItem(hwnd_, id);
}

void FormWindow::completeControls() const {
    if (controlsComplete_ || hwnd_ == nullptr)
        return;
    controlsComplete_ = true;

    // Creation order is the tab order and the stacking order: the buttons first, then the
    // history list, which lies above the labels and the picture when it is shown; the
    // picture is the last tab stop of the version box.
    HWND command2 =
        createChild(L"BUTTON", L"終了", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, kCommand2Id);
    createChild(L"BUTTON", L"OK", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, kCommand1Id);
    createChild(L"LISTBOX", L"", WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOINTEGRALHEIGHT,
                kRirekilist2Id);
    HWND picture = createChild(L"STATIC", L"",
                               WS_VISIBLE | WS_TABSTOP | SS_ICON | SS_REALSIZECONTROL, kPicture1Id);
    ::SendMessageW(picture, STM_SETICON, reinterpret_cast<WPARAM>(icons_.program()), 0);
    createChild(L"STATIC", loadString(instance_, IDS_TITLE_LABEL).c_str(),
                WS_VISIBLE | SS_CENTER | SS_NOPREFIX, kLabel1Id);
    createChild(L"STATIC", L"" QUOR6_VERSION_LABEL, WS_VISIBLE | SS_LEFT | SS_NOPREFIX, kLabel2Id);
    createChild(L"STATIC", loadString(instance_, IDS_CREDIT_LABEL).c_str(),
                WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX, kLabel3Id);
    applyFonts();

    // Never seen: the history store and the icon holders.
    createChild(L"LISTBOX", L"", LBS_NOINTEGRALHEIGHT, kRirekiListId);
    for (int i = 0; i < kIconHolderCount; ++i) {
        HWND holder = createChild(L"STATIC", L"", SS_ICON, kIconHolderFirstId + i);
        ::SendMessageW(holder, STM_SETICON,
                       reinterpret_cast<WPARAM>(icons_.holder(static_cast<IconHolder>(i))), 0);
    }
    lastFocus_ = command2;
}

LRESULT CALLBACK FormWindow::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<FormWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        if (self != nullptr)
            self->hwnd_ = nullptr;
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    if (self == nullptr)
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    return self->onMessage(message, wParam, lParam);
}

LRESULT FormWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND: {
            // Menu commands (lParam 0) and button clicks both arrive here by their id; a
            // button acts only while it can be seen, whoever clicked it.
            const bool click = lParam != 0 && HIWORD(wParam) == BN_CLICKED;
            if (events_ != nullptr && (lParam == 0 || (click && controlsShown())))
                events_->command(LOWORD(wParam));
            return 0;
        }
        case WM_CLOSE:
            if (events_ != nullptr)
                events_->closeRequested();
            return 0;
        case WM_TIMER:
            if (wParam == kTrayRetryTimerId && events_ != nullptr)
                events_->trayRetryTimer();
            return 0;
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_ENDSESSION:
            if (wParam != 0 && events_ != nullptr)
                events_->closeRequested();
            return 0;
        case WM_ACTIVATE:
            onActivate(LOWORD(wParam) != WA_INACTIVE);
            return 0;
        case WM_SETFOCUS:
            placeFocus();
            return 0;
        case WM_SIZE:
            // A minimized window kept the focus itself; restored, a control takes it again.
            if (wParam == SIZE_RESTORED)
                placeFocus();
            return 0;
        case kGetDpiScaledSize: {
            // Asked before WM_DPICHANGED: the size that keeps the design's client area.
            *reinterpret_cast<SIZE*>(lParam) = frameSize(static_cast<int>(wParam));
            return TRUE;
        }
        case WM_DPICHANGED: {
            // The window keeps its size in inches: the system's suggestion, the controls laid
            // out again from the design at the new DPI.
            const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
            applyDpi(HIWORD(wParam));
            ::SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top,
                           suggested.right - suggested.left, suggested.bottom - suggested.top,
                           SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
        default:
            if (message == taskbarCreatedMessage_ && taskbarCreatedMessage_ != 0) {
                if (events_ != nullptr)
                    events_->taskbarCreated();
                return 0;
            }
            return ::DefWindowProcW(hwnd_, message, wParam, lParam);
    }
}

LRESULT CALLBACK FormWindow::trayHostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR slot, DWORD_PTR self) {
    if (message == WM_MOUSEMOVE) {
        auto* form = reinterpret_cast<FormWindow*>(self);
        const auto trayMessage = trayCallbackMessage(static_cast<int>(slot), wParam,
                                                     static_cast<std::uintptr_t>(lParam));
        if (trayMessage && form->events_ != nullptr) {
            form->events_->trayMouse(static_cast<int>(slot), *trayMessage);
        }
        return 0;
    }
    if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(hwnd, &FormWindow::trayHostProc, slot);
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace quor6::win32
