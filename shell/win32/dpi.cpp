#include "shell/win32/dpi.h"

#include "shell/win32/module_procedure.h"

namespace quor6::win32 {

namespace {

template <typename Function>
Function user32Call(const char* name) {
    return procedure<Function>(::GetModuleHandleW(L"user32.dll"), name);
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
