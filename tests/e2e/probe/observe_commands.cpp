// Commands that only read: the program's window, a message box, a popup menu, the tray.
#include <windows.h>

#include <string>

#include "commands.h"
#include "control_ids.h"
#include "output.h"
#include "unique_handle.h"
#include "window_query.h"

namespace quor6::probe {

namespace {

bool hasStyle(HWND window, LONG_PTR style) {
    return (GetWindowLongPtrW(window, GWL_STYLE) & style) == style;
}

DWORD processOf(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid;
}

bool printLines(const char* prefix, HWND list) {
    const auto lines = listLines(list);
    if (!lines)
        return false;
    printValue(std::string(prefix) + ".count", static_cast<long long>(lines->size()));
    for (std::size_t i = 0; i < lines->size(); ++i) {
        printValue(std::string(prefix) + "." + std::to_string(i), (*lines)[i]);
    }
    return true;
}

// A control's own WS_VISIBLE bit: IsWindowVisible would say "hidden" for every child of
// the hidden main window, which tells nothing about the control. Each shown control's screen
// rectangle follows, so that a test can click it.
void printShownControls(HWND main) {
    std::string ids;
    for (HWND child : childWindows(main)) {
        if (!hasStyle(child, WS_VISIBLE))
            continue;
        const std::string id = std::to_string(GetDlgCtrlID(child));
        if (!ids.empty())
            ids += ",";
        ids += id;
        printValue("rect." + id, rectText(child));
    }
    printValue("shown_ids", ids);
}

}  // namespace

int runState(const Arguments& args) {
    if (!args.empty())
        return kUsage;
    const auto windows = topLevelWindows(kMainClass);
    printValue("windows", static_cast<long long>(windows.size()));
    if (windows.empty())
        return kNotFound;
    const HWND main = windows.front();
    printValue("pid", static_cast<long long>(processOf(main)));
    printValue("visible", IsWindowVisible(main) ? 1LL : 0LL);
    printValue("minimized", IsIconic(main) ? 1LL : 0LL);
    printValue("enabled", IsWindowEnabled(main) ? 1LL : 0LL);
    printValue("foreground", GetForegroundWindow() == main ? 1LL : 0LL);
    printValue("rect", rectText(main));
    const auto title = windowText(main);
    const auto guess = windowText(hostWindow(main, 1));
    if (!title || !guess)
        return kCallFailed;
    printValue("title", *title);
    printValue("guess", *guess);
    if (!printLines("store", GetDlgItem(main, kHistoryStoreId)))
        return kCallFailed;
    if (!printLines("history", GetDlgItem(main, kHistoryWindowId)))
        return kCallFailed;
    printShownControls(main);
    return kOk;
}

int runMsgbox(const Arguments& args) {
    if (!args.empty())
        return kUsage;
    const HWND box = findVisibleTopLevel(kDialogClass);
    if (!box)
        return kNotFound;
    const auto title = windowText(box);
    if (!title)
        return kCallFailed;
    wchar_t text[1024] = {};
    GetDlgItemTextW(box, kDialogTextId, text, static_cast<int>(std::size(text)));
    std::wstring buttons;
    bool icon = false;
    for (HWND child : childWindows(box)) {
        if (!hasStyle(child, WS_VISIBLE))
            continue;
        const std::wstring kind = className(child);
        if (kind == L"Button") {
            const auto caption = windowText(child);
            if (!buttons.empty())
                buttons += L";";
            buttons += std::to_wstring(GetDlgCtrlID(child)) + L":" + caption.value_or(L"");
            printValue("rect." + std::to_string(GetDlgCtrlID(child)), rectText(child));
        } else if (kind == L"Static" &&
                   (GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            // Wine keeps the icon static of a box without an icon, shown but empty.
            DWORD_PTR shown = 0;
            SendMessageTimeoutW(child, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 2000, &shown);
            icon = icon || shown != 0;
        }
    }
    printValue("pid", static_cast<long long>(processOf(box)));
    printValue("title", *title);
    printValue("text", std::wstring_view(text));
    printValue("buttons", buttons);
    printValue("icon", icon ? 1LL : 0LL);
    printValue("rect", rectText(box));
    return kOk;
}

int runMenu(const Arguments& args) {
    if (!args.empty())
        return kUsage;
    const HWND menu = findVisibleTopLevel(kMenuClass);
    if (!menu)
        return kNotFound;
    printValue("pid", static_cast<long long>(processOf(menu)));
    printValue("rect", rectText(menu));
    return kOk;
}

int runTrayRect(const Arguments& args) {
    if (!args.empty())
        return kUsage;
    // Without a virtual desktop winex11 shows its own tray window; Shell_TrayWnd then exists
    // but stays hidden and empty.
    HWND tray = FindWindowW(kStandaloneTrayClass, nullptr);
    if (!tray)
        tray = findVisibleTopLevel(kTrayClass);
    if (!tray)
        return kNotFound;
    RECT client{};
    GetClientRect(tray, &client);
    POINT origin{0, 0};
    ClientToScreen(tray, &origin);
    printValue("title", windowText(tray).value_or(L""));
    printValue("class", className(tray));
    printValue("visible", IsWindowVisible(tray) ? 1LL : 0LL);
    printValue("client", std::to_string(origin.x) + "," + std::to_string(origin.y) + "," +
                             std::to_string(client.right) + "," + std::to_string(client.bottom));
    return kOk;
}

}  // namespace quor6::probe
