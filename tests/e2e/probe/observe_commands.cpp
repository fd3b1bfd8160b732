// Commands that only read: the program's window, a message box, a popup menu; and waiting.
#include <functional>

#include "probe.h"

namespace quor6::probe {

namespace {

bool hasStyle(HWND window, LONG_PTR style) {
    return (GetWindowLongPtrW(window, GWL_STYLE) & style) == style;
}

bool printLines(const std::string& prefix, HWND list) {
    const auto lines = listLines(list);
    if (!lines)
        return false;
    printValue(prefix + ".count", static_cast<long long>(lines->size()));
    for (std::size_t i = 0; i < lines->size(); ++i)
        printValue(prefix + "." + std::to_string(i), (*lines)[i]);
    return true;
}

// A control's own WS_VISIBLE bit: IsWindowVisible would say "hidden" for every child of the
// hidden main window. Each shown control's screen rectangle and text follow, so that a test
// can click and read it.
void printShownControls(HWND main) {
    std::string ids;
    for (HWND child : childWindows(main)) {
        if (!hasStyle(child, WS_VISIBLE))
            continue;
        const std::string id = std::to_string(GetDlgCtrlID(child));
        ids += (ids.empty() ? "" : ",") + id;
        printValue("rect." + id, rectText(child));
        printValue("text." + id, windowText(child).value_or(L""));
    }
    printValue("shown_ids", ids);
}

using Condition = std::function<bool()>;

// msgbox, no-msgbox, menu, no-menu, guess=<text>.
std::optional<Condition> parseCondition(const std::string& text) {
    const bool negated = text.rfind("no-", 0) == 0;
    const std::string what = negated ? text.substr(3) : text;
    if (what == "msgbox" || what == "menu") {
        const wchar_t* cls = what == "menu" ? kMenuClass : kDialogClass;
        return Condition([=] { return (findVisibleTopLevel(cls) != nullptr) != negated; });
    }
    if (text.rfind("guess=", 0) != 0)
        return std::nullopt;
    return Condition([wanted = text.substr(6)] {
        const HWND main = findMainWindow();
        const auto guess = main ? windowText(hostWindow(main, 1)) : std::nullopt;
        return guess && toUtf8(*guess) == wanted;
    });
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
    printValue("visible", IsWindowVisible(main) != FALSE);
    printValue("minimized", IsIconic(main) != FALSE);
    printValue("enabled", IsWindowEnabled(main) != FALSE);
    printValue("foreground", GetForegroundWindow() == main);
    printValue("rect", rectText(main));
    const auto title = windowText(main);
    const auto guess = windowText(hostWindow(main, 1));
    if (!title || !guess)
        return kCallFailed;
    printValue("title", *title);
    printValue("guess", *guess);
    if (!printLines("store", GetDlgItem(main, kHistoryStoreId)) ||
        !printLines("history", GetDlgItem(main, kHistoryWindowId))) {
        return kCallFailed;
    }
    printShownControls(main);
    return kOk;
}

int runMsgbox(const Arguments& args) {
    if (!args.empty())
        return kUsage;
    const HWND box = findVisibleTopLevel(kDialogClass);
    if (!box)
        return kNotFound;
    std::wstring buttons;
    bool icon = false;
    for (HWND child : childWindows(box)) {
        if (!hasStyle(child, WS_VISIBLE))
            continue;
        const std::wstring kind = className(child);
        if (kind == L"Button") {
            const int id = GetDlgCtrlID(child);
            buttons += (buttons.empty() ? L"" : L";") + std::to_wstring(id) + L":" +
                       windowText(child).value_or(L"");
            printValue("rect." + std::to_string(id), rectText(child));
        } else if (kind == L"Static" && hasStyle(child, SS_ICON)) {
            // Wine keeps the icon static of a box without an icon, shown but empty.
            DWORD_PTR shown = 0;
            SendMessageTimeoutW(child, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 2000, &shown);
            icon = icon || shown != 0;
        }
    }
    // A message box keeps its text in the static with id 0xFFFF, as on Windows.
    printValue("pid", static_cast<long long>(processOf(box)));
    printValue("title", windowText(box).value_or(L""));
    printValue("text", windowText(GetDlgItem(box, 0xFFFF)).value_or(L""));
    printValue("buttons", buttons);
    printValue("icon", icon);
    printValue("rect", rectText(box));
    return kOk;
}

int runMenu(const Arguments& args) {
    const HWND menu = findVisibleTopLevel(kMenuClass);
    if (!args.empty() || !menu)
        return args.empty() ? kNotFound : kUsage;
    printValue("rect", rectText(menu));
    return kOk;
}

int runWait(const Arguments& args) {
    const auto condition = args.size() == 2 ? parseCondition(args[0]) : std::nullopt;
    const auto timeoutMs = args.size() == 2 ? parseNumber(args[1]) : std::nullopt;
    if (!condition || !timeoutMs)
        return kUsage;
    for (const ULONGLONG deadline = GetTickCount64() + *timeoutMs; !(*condition)(); Sleep(50)) {
        if (GetTickCount64() >= deadline)
            return kTimedOut;
    }
    return kOk;
}

}  // namespace quor6::probe
