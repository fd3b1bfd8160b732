#include "shell/win32/dpi.h"

namespace quor6::win32 {

namespace {

template <typename Function>
Function user32Call(const char* name) {
    HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    return user32 != nullptr
               ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(user32, name)))
               : nullptr;
}

}  // namespace

int systemDpi() {
    HDC screen = ::GetDC(nullptr);
    const int dpi = screen != nullptr ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen != nullptr)
        ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

int windowDpi(HWND window) {
    const auto dpiForWindow = user32Call<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
    const UINT dpi = dpiForWindow != nullptr && window != nullptr ? dpiForWindow(window) : 0;
    return dpi != 0 ? static_cast<int>(dpi) : systemDpi();
}

RECT frameAround(int clientWidth, int clientHeight, DWORD style, int dpi) {
    RECT frame{0, 0, clientWidth, clientHeight};
    const auto adjustForDpi =
        user32Call<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
    if (adjustForDpi == nullptr || !adjustForDpi(&frame, style, FALSE, 0, static_cast<UINT>(dpi)))
        ::AdjustWindowRectEx(&frame, style, FALSE, 0);
    return frame;
}

int traySmallIconSize() {
    // GetSystemMetrics keeps answering for the DPI the process started with, while the
    // taskbar follows the scaling the player sets.
    const auto metricsForDpi = user32Call<int(WINAPI*)(int, UINT)>("GetSystemMetricsForDpi");
    HWND taskbar = ::FindWindowW(L"Shell_TrayWnd", nullptr);
    if (metricsForDpi == nullptr || taskbar == nullptr)
        return ::GetSystemMetrics(SM_CXSMICON);
    const int size = metricsForDpi(SM_CXSMICON, static_cast<UINT>(windowDpi(taskbar)));
    return size > 0 ? size : ::GetSystemMetrics(SM_CXSMICON);
}

}  // namespace quor6::win32
