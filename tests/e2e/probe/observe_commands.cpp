// Reading windows: the program's window, a message box, a popup menu; and waiting. Every
// message to another process is sent with a timeout, so that a hung program makes the probe
// fail instead of hanging the test run.
#include <functional>

#include "probe.h"

namespace quor6::probe {

namespace {

std::optional<LRESULT> sendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 2000, &result))
        return std::nullopt;
    return static_cast<LRESULT>(result);
}

// A text of `length` characters read with one message; nothing if it is not answered.
std::optional<std::wstring> readText(HWND window, UINT message, WPARAM wParam,
                                     std::optional<LRESULT> length) {
    if (!length || *length == LB_ERR)
        return std::nullopt;
    std::wstring text(static_cast<std::size_t>(*length) + 1, L'\0');
    const auto copied =
        sendWithTimeout(window, message, wParam, reinterpret_cast<LPARAM>(text.data()));
    if (!copied || *copied == LB_ERR)
        return std::nullopt;
    text.resize(static_cast<std::size_t>(*copied));
    return text;
}

std::vector<HWND> topLevelWindows(const wchar_t* wantedClass) {
    std::vector<HWND> found;
    for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, wantedClass, nullptr));)
        found.push_back(window);
    return found;
}

DWORD processOf(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid;
}

std::wstring className(HWND window) {
    wchar_t name[256] = {};
    const int length = GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return std::wstring(name, static_cast<std::size_t>(length > 0 ? length : 0));
}

std::optional<std::wstring> windowText(HWND window) {
    const auto length = sendWithTimeout(window, WM_GETTEXTLENGTH, 0, 0);
    return readText(window, WM_GETTEXT, static_cast<WPARAM>(length.value_or(0) + 1), length);
}

std::vector<HWND> childWindows(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

std::string rectText(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + "," +
           std::to_string(rect.right) + "," + std::to_string(rect.bottom);
}

bool hasStyle(HWND window, LONG_PTR style) {
    return (GetWindowLongPtrW(window, GWL_STYLE) & style) == style;
}

// A list box's lines as prefix.count and prefix.0, prefix.1, ...
bool printLines(const std::string& prefix, HWND list) {
    const auto count = sendWithTimeout(list, LB_GETCOUNT, 0, 0);
    if (!count || *count == LB_ERR)
        return false;
    printValue(prefix + ".count", static_cast<long long>(*count));
    for (WPARAM i = 0; i < static_cast<WPARAM>(*count); ++i) {
        const auto line = readText(list, LB_GETTEXT, i, sendWithTimeout(list, LB_GETTEXTLEN, i, 0));
        if (!line)
            return false;
        printValue(prefix + "." + std::to_string(i), *line);
    }
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

HWND findMainWindow() {
    return FindWindowW(kMainClass, nullptr);
}

HWND findVisibleTopLevel(const wchar_t* wantedClass) {
    for (HWND window : topLevelWindows(wantedClass)) {
        if (IsWindowVisible(window))
            return window;
    }
    return nullptr;
}

HWND hostWindow(HWND main, int slot) {
    return GetDlgItem(main, kFirstHostId + slot - 1);
}

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
    // Where the program's keys go: the id of the focused control, "form" for the window itself.
    GUITHREADINFO thread{};
    thread.cbSize = sizeof(thread);
    const bool known = GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &thread) != 0;
    const HWND focus = known ? thread.hwndFocus : nullptr;
    printValue("focus", focus == main                   ? std::string("form")
                        : focus && IsChild(main, focus) ? std::to_string(GetDlgCtrlID(focus))
                                                        : std::string());
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
