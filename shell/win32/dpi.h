#pragma once

#include <windows.h>

namespace quor6::win32 {

// Scaling as the program sees it while it runs. The calls that follow a change of scaling
// while the program runs exist from Windows 10 (1607) on and are looked up at run time;
// before that the DPI the process started with is the only one there is.

// The DPI the process started with (what GetSystemMetrics and the screen DC scale by).
int systemDpi();
// The DPI of a window: that of the monitor it is on, as of now.
int windowDpi(HWND window);
// The window rectangle around a client area of that size at a DPI (its caption and borders
// scaled for it), placed at 0, 0.
RECT frameAround(int clientWidth, int clientHeight, DWORD style, int dpi);
// The size the tray draws its icons at now: the small-icon size at the DPI of the taskbar.
int traySmallIconSize();

}  // namespace quor6::win32
