#include "shell/win32/form_window.h"

#include <commctrl.h>

#include <string>

#include "resources/resource_ids.h"
#include "resources/version.h"
#include "shell/win32/control_ids.h"
#include "tray/tray_dispatch.h"
#include "tray/tray_slots.h"

namespace quor6::win32 {

namespace {

constexpr int kClientWidthTwips = 4830;
constexpr int kClientHeightTwips = 2775;
constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kChild = WS_CHILD | WS_CLIPSIBLINGS;

// Text1..Text5, one edit box per tray slot.
constexpr bool isTrayHost(int id) {
    return id >= kText1Id && id < kText1Id + kSlotCount;
}

int screenDpi() {
    HDC screen = ::GetDC(nullptr);
    const int dpi = screen != nullptr ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen != nullptr)
        ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

std::wstring loadString(HINSTANCE instance, UINT id) {
    const wchar_t* text = nullptr;
    const int length = ::LoadStringW(instance, id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 ? std::wstring(text, static_cast<std::size_t>(length)) : std::wstring();
}

// "ＭＳ ゴシック" with the Japanese character set, at a size in tenths of a point.
HFONT createGothicFont(int tenthsOfPoint, int weight, int dpi) {
    LOGFONTW font{};
    font.lfHeight = -::MulDiv(tenthsOfPoint, dpi, 720);
    font.lfWeight = weight;
    font.lfCharSet = SHIFTJIS_CHARSET;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    const wchar_t face[] = L"ＭＳ ゴシック";
    static_assert(sizeof(face) / sizeof(face[0]) <= LF_FACESIZE, "face name fits");
    std::copy(std::begin(face), std::end(face), font.lfFaceName);
    return ::CreateFontIndirectW(&font);
}

HFONT createUiFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        return nullptr;
    }
    return ::CreateFontIndirectW(&metrics.lfMessageFont);
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
    : instance_(instance), icons_(icons), dpi_(screenDpi()) {
    registerClass(instance, icons, &FormWindow::windowProc);
    // The broadcast a new tray sends; its number differs from session to session.
    taskbarCreatedMessage_ = ::RegisterWindowMessageW(L"TaskbarCreated");

    // The client area is sized for the window as it is seen: without the menu bar, which
    // start-up hides before the window is ever shown.
    RECT frame{0, 0, pixels(kClientWidthTwips), pixels(kClientHeightTwips)};
    ::AdjustWindowRectEx(&frame, kFormStyle, FALSE, 0);
    const std::wstring title = loadString(instance, IDS_WINDOW_TITLE);
    ::CreateWindowExW(0, kFormClassName, title.c_str(), kFormStyle | WS_CLIPCHILDREN, CW_USEDEFAULT,
                      CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, nullptr,
                      menuBar, instance, this);
    if (hwnd_ != nullptr)
        createTrayHosts();
}

FormWindow::~FormWindow() {
    if (hwnd_ == nullptr)
        return;
    // The menu belongs to TrayMenu; detach it so that the window does not destroy it too.
    ::SetMenu(hwnd_, nullptr);
    ::DestroyWindow(hwnd_);
}

HWND FormWindow::createChild(const wchar_t* className, const wchar_t* text, DWORD style, int id,
                             int left, int top, int width, int height) const {
    HWND child =
        ::CreateWindowExW(0, className, text, kChild | style, pixels(left), pixels(top),
                          pixels(width), pixels(height), hwnd_,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
    return child;
}

void FormWindow::createTrayHosts() {
    // Never seen; the shell knows each icon by its host window and slot.
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        HWND host = createChild(L"EDIT", L"", ES_AUTOHSCROLL, kText1Id + slot - 1, 0, 0, 1, 1);
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
    titleFont_.reset(createGothicFont(158, FW_BOLD, dpi_));
    versionFont_.reset(createGothicFont(90, FW_NORMAL, dpi_));
    creditFont_.reset(createGothicFont(98, FW_NORMAL, dpi_));
    uiFont_.reset(createUiFont());
    const auto setFont = [](HWND control, HFONT font) {
        if (control != nullptr && font != nullptr) {
            ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        }
    };

    // Creation order is the tab order and the stacking order: the buttons first, then the
    // history list, which lies above the labels and the picture when it is shown.
    HWND command2 = createChild(L"BUTTON", L"終了", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                                kCommand2Id, 2400, 2160, 1695, 375);
    HWND command1 = createChild(L"BUTTON", L"OK", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                                kCommand1Id, 600, 2160, 1695, 375);
    HWND history =
        createChild(L"LISTBOX", L"", WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOINTEGRALHEIGHT,
                    kRirekilist2Id, 240, 120, 4455, 1860);
    HWND picture = createChild(L"STATIC", L"", WS_VISIBLE | SS_ICON | SS_REALSIZECONTROL,
                               kPicture1Id, 1320, 360, 372, 372);
    ::SendMessageW(picture, STM_SETICON, reinterpret_cast<WPARAM>(icons_.program()), 0);
    HWND title = createChild(L"STATIC", loadString(instance_, IDS_TITLE_LABEL).c_str(),
                             WS_VISIBLE | SS_CENTER | SS_NOPREFIX, kLabel1Id, 1200, 360, 2415, 375);
    HWND version = createChild(L"STATIC", L"" QUOR6_VERSION_LABEL,
                               WS_VISIBLE | SS_LEFT | SS_NOPREFIX, kLabel2Id, 2280, 960, 1455, 255);
    HWND credit =
        createChild(L"STATIC", loadString(instance_, IDS_CREDIT_LABEL).c_str(),
                    WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX, kLabel3Id, 1080, 1320, 2055, 375);
    setFont(command2, uiFont_.get());
    setFont(command1, uiFont_.get());
    setFont(history, uiFont_.get());
    setFont(title, titleFont_.get());
    setFont(version, versionFont_.get());
    setFont(credit, creditFont_.get());

    // Never seen: the history store and the icon holders.
    createChild(L"LISTBOX", L"", LBS_NOINTEGRALHEIGHT, kRirekiListId, 0, 0, 1, 1);
    for (int i = 0; i < kIconHolderCount; ++i) {
        HWND holder = createChild(L"STATIC", L"", SS_ICON, kIconHolderFirstId + i, 0, 0, 1, 1);
        ::SendMessageW(holder, STM_SETICON,
                       reinterpret_cast<WPARAM>(icons_.holder(static_cast<IconHolder>(i))), 0);
    }
    lastFocus_ = command2;
}

bool FormWindow::preTranslate(const MSG& message) {
    if (message.message != WM_KEYDOWN || hwnd_ == nullptr)
        return false;
    if (message.hwnd != hwnd_ && !::IsChild(hwnd_, message.hwnd))
        return false;
    HWND focus = ::GetFocus();
    switch (message.wParam) {
        case VK_TAB: {
            const bool backwards = (::GetKeyState(VK_SHIFT) & 0x8000) != 0;
            HWND next = ::GetNextDlgTabItem(hwnd_, focus, backwards ? TRUE : FALSE);
            if (next != nullptr)
                ::SetFocus(next);
            return true;
        }
        case VK_RETURN: {
            wchar_t className[16] = {};
            if (focus != nullptr && ::IsChild(hwnd_, focus) &&
                ::GetClassNameW(focus, className, 16) > 0 && lstrcmpiW(className, L"Button") == 0) {
                ::SendMessageW(focus, BM_CLICK, 0, 0);
            }
            return true;
        }
        case VK_ESCAPE:
            return true;
        default:
            return false;
    }
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
        case WM_COMMAND:
            // Menu commands (lParam 0) and button clicks both arrive here by their id.
            if (events_ != nullptr && (lParam == 0 || HIWORD(wParam) == BN_CLICKED)) {
                events_->command(LOWORD(wParam));
            }
            return 0;
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
            // Remember and restore the focused control, as a dialog would.
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = ::GetFocus();
                if (focus != nullptr && ::IsChild(hwnd_, focus))
                    lastFocus_ = focus;
            } else if (lastFocus_ != nullptr) {
                ::SetFocus(lastFocus_);
            }
            return 0;
        case WM_SETFOCUS:
            if (lastFocus_ != nullptr)
                ::SetFocus(lastFocus_);
            return 0;
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
