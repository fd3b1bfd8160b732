#pragma once

#include <windows.h>

#include <cstdint>

#include "core/reading_order.h"

namespace quor6::win32 {

// Where the shell shows the tray icon (host, id), in screen pixels: Shell_NotifyIconGetRect's
// HRESULT, with `place` filled in on success; E_NOTIMPL where the system lacks the call.
std::int32_t trayIconPlace(HWND host, UINT id, ScreenRect& place);

}  // namespace quor6::win32
