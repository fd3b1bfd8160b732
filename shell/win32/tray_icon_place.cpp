#include "shell/win32/tray_icon_place.h"

#include <shellapi.h>

#include "shell/win32/module_procedure.h"

namespace quor6::win32 {

std::int32_t trayIconPlace(HWND host, UINT id, ScreenRect& place) {
    // Looked up rather than imported: the import table stays as it was, and a Windows before 7,
    // which lacks the call, still starts and plays with the icons in the order they were added.
    // shell32 is loaded already, for Shell_NotifyIconA.
    const auto getRect = procedure<decltype(&::Shell_NotifyIconGetRect)>(
        ::GetModuleHandleW(L"shell32.dll"), "Shell_NotifyIconGetRect");
    if (!getRect)
        return E_NOTIMPL;
    NOTIFYICONIDENTIFIER icon{};
    icon.cbSize = sizeof icon;
    icon.hWnd = host;
    icon.uID = id;
    RECT rect{};
    const HRESULT result = getRect(&icon, &rect);
    if (SUCCEEDED(result))
        place = {rect.left, rect.top, rect.right, rect.bottom};
    return result;
}

}  // namespace quor6::win32
