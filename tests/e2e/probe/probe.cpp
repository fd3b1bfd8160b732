// probe <command> [arguments...] (the commands in the table at the end): runs beside quor6.exe in
// its Wine prefix and reads or prods its windows. It prints UTF-8 key=value lines, a value's
// backslash, CR and LF escaped. Messages to another process have a timeout: a hung program fails
// the probe instead of hanging the test run.
#include <windows.h>  // first: shellapi.h needs it

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Arguments = std::vector<std::string>;

// Exit codes, so that a harness can tell "not there" from "broken".
enum ExitCode : int {
    kOk = 0,
    kNotFound = 1,    // the window, box or menu asked for is not there
    kUsage = 2,       // bad command line
    kCallFailed = 3,  // a window did not answer or a call was refused
    kTimedOut = 4,    // wait: the condition did not come true in time
};

// What the probe knows of the program's window: its class and the ids of its controls.
constexpr wchar_t kMainClass[] = L"frmQuor6";
constexpr wchar_t kDialogClass[] = L"#32770";
constexpr wchar_t kMenuClass[] = L"#32768";
constexpr int kSlotCount = 5;
constexpr int kFirstHostId = 1001;      // Text1; slot k is hosted by kFirstHostId + k - 1
constexpr int kHistoryStoreId = 2001;   // rirekiList, oldest first
constexpr int kHistoryWindowId = 2002;  // rirekilist2, newest first

int done(bool succeeded) {
    return succeeded ? kOk : kCallFailed;
}

// Accepts decimal or 0x-prefixed hexadecimal; anything else is a usage error.
std::optional<unsigned long long> parseNumber(const std::string& text) {
    std::size_t used = 0;
    try {
        const unsigned long long value = std::stoull(text, &used, 0);
        return used == text.size() ? std::optional(value) : std::nullopt;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::string toUtf8(std::wstring_view text) {
    const int wide = static_cast<int>(text.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, out.data(), length, nullptr, nullptr);
    return out;
}

void printValue(std::string_view key, std::string_view value) {
    std::string line = std::string(key) + "=";
    for (const char c : value)
        line += c == '\\' ? "\\\\" : c == '\n' ? "\\n" : c == '\r' ? "\\r" : std::string(1, c);
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
}

void printValue(std::string_view key, long long value) {
    printValue(key, std::string_view(std::to_string(value)));
}

std::optional<LRESULT> sendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 2000, &result))
        return std::nullopt;
    return static_cast<LRESULT>(result);
}

// A text of `length` characters read with one message, in UTF-8; nothing if it is not answered.
std::optional<std::string> readText(HWND window, UINT message, WPARAM wParam,
                                    std::optional<LRESULT> length) {
    if (!length || *length == LB_ERR)
        return std::nullopt;
    std::wstring text(static_cast<std::size_t>(*length) + 1, L'\0');
    const auto copied =
        sendWithTimeout(window, message, wParam, reinterpret_cast<LPARAM>(text.data()));
    if (!copied || *copied == LB_ERR)
        return std::nullopt;
    return toUtf8(std::wstring_view(text).substr(0, static_cast<std::size_t>(*copied)));
}

std::optional<std::string> windowText(HWND window) {
    const auto length = sendWithTimeout(window, WM_GETTEXTLENGTH, 0, 0);
    return readText(window, WM_GETTEXT, static_cast<WPARAM>(length.value_or(0) + 1), length);
}

std::vector<HWND> topLevelWindows(const wchar_t* wantedClass) {
    std::vector<HWND> found;
    for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, wantedClass, nullptr));)
        found.push_back(window);
    return found;
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

std::vector<HWND> childWindows(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

long long processOf(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid;
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

// Shown controls by their own WS_VISIBLE bit (IsWindowVisible says "hidden" for every child of
// the hidden window), each with its screen rectangle and text for a test to click and read.
void printShownControls(HWND main) {
    std::string ids;
    for (HWND child : childWindows(main)) {
        if (!hasStyle(child, WS_VISIBLE))
            continue;
        const std::string id = std::to_string(GetDlgCtrlID(child));
        ids += (ids.empty() ? "" : ",") + id;
        printValue("rect." + id, rectText(child));
        printValue("text." + id, windowText(child).value_or(""));
    }
    printValue("shown_ids", ids);
}

int runState(const Arguments&) {
    const auto windows = topLevelWindows(kMainClass);
    printValue("windows", static_cast<long long>(windows.size()));
    if (windows.empty())
        return kNotFound;
    const HWND main = windows.front();
    printValue("pid", processOf(main));
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

int runMsgbox(const Arguments&) {
    const HWND box = findVisibleTopLevel(kDialogClass);
    if (!box)
        return kNotFound;
    std::string buttons;
    bool icon = false;
    for (HWND child : childWindows(box)) {
        wchar_t kind[16] = {};
        if (!hasStyle(child, WS_VISIBLE) ||
            !GetClassNameW(child, kind, static_cast<int>(std::size(kind))))
            continue;
        if (kind == std::wstring_view(L"Button")) {
            const int id = GetDlgCtrlID(child);
            buttons += (buttons.empty() ? "" : ";") + std::to_string(id) + ":" +
                       windowText(child).value_or("");
            printValue("rect." + std::to_string(id), rectText(child));
        } else if (kind == std::wstring_view(L"Static") && hasStyle(child, SS_ICON)) {
            // Wine keeps the icon static of a box without an icon, shown but empty.
            icon = icon || sendWithTimeout(child, STM_GETICON, 0, 0).value_or(0) != 0;
        }
    }
    // A message box keeps its text in the static with id 0xFFFF, as on Windows.
    printValue("pid", processOf(box));
    printValue("title", windowText(box).value_or(""));
    printValue("text", windowText(GetDlgItem(box, 0xFFFF)).value_or(""));
    printValue("buttons", buttons);
    printValue("icon", icon);
    printValue("rect", rectText(box));
    return kOk;
}

int runMenu(const Arguments&) {
    const HWND menu = findVisibleTopLevel(kMenuClass);
    if (menu)
        printValue("rect", rectText(menu));
    return menu ? kOk : kNotFound;
}

// wait <condition> <timeout ms>: polls, inside one probe process, for msgbox, no-msgbox, menu,
// no-menu or guess=<text>.
int runWait(const Arguments& args) {
    const bool negated = args[0].rfind("no-", 0) == 0;
    const std::string what = args[0].substr(negated ? 3 : 0);
    const bool guess = !negated && what.rfind("guess=", 0) == 0;
    const auto timeoutMs = parseNumber(args[1]);
    if (!timeoutMs || (!guess && what != "msgbox" && what != "menu"))
        return kUsage;
    const auto holds = [&] {
        if (!guess) {
            const wchar_t* cls = what == "menu" ? kMenuClass : kDialogClass;
            return (findVisibleTopLevel(cls) != nullptr) != negated;
        }
        const HWND main = FindWindowW(kMainClass, nullptr);
        return main && windowText(hostWindow(main, 1)) == what.substr(6);
    };
    for (const ULONGLONG deadline = GetTickCount64() + *timeoutMs; !holds(); Sleep(50)) {
        if (GetTickCount64() >= deadline)
            return kTimedOut;
    }
    return kOk;
}

// The shell's tray callback: WM_MOUSEMOVE to the slot's host window, the slot's id in wParam
// and the mouse message in lParam.
int postCallback(HWND main, const Arguments& callback) {
    const auto slot = parseNumber(callback[0]);
    const auto message = parseNumber(callback[1]);
    const auto wParam = callback.size() == 3 ? parseNumber(callback[2]) : slot;
    if (!slot || *slot < 1 || *slot > kSlotCount || !message || !wParam)
        return kUsage;
    return done(PostMessageW(hostWindow(main, static_cast<int>(*slot)), WM_MOUSEMOVE,
                             static_cast<WPARAM>(*wParam), static_cast<LPARAM>(*message)));
}

// post <slot> <message> [wparam], or post - to post every "<slot> <message> <wparam>" line of
// the standard input (a flood of them in one go).
int runPost(const Arguments& args) {
    const HWND main = FindWindowW(kMainClass, nullptr);
    if (args.size() == 1 && args[0] == "-") {
        long long posted = 0;
        for (Arguments callback(3); main && std::cin >> callback[0] >> callback[1] >> callback[2];
             ++posted) {
            if (const int result = postCallback(main, callback); result != kOk)
                return result;
        }
        printValue("posted", posted);
        return main ? kOk : kNotFound;
    }
    return args.size() < 2 ? kUsage : main ? postCallback(main, args) : kNotFound;
}

// What the caption's boxes send: no window manager draws them (Wine itself would frame the tray).
int runSysCommand(const Arguments& args) {
    const HWND main = FindWindowW(kMainClass, nullptr);
    if (args[0] != "minimize" && args[0] != "close")
        return kUsage;
    const WPARAM command = args[0] == "close" ? SC_CLOSE : SC_MINIMIZE;
    return main ? done(PostMessageW(main, WM_SYSCOMMAND, command, 0)) : kNotFound;
}

int runMsgboxOk(const Arguments&) {
    const HWND box = findVisibleTopLevel(kDialogClass);
    return box ? done(PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0)) : kNotFound;
}

// keys [+]<virtual key>...: typed as on the keyboard, so that Windows delivers them as it does a
// player's keys, to the focus of the foreground window (whatever X thinks); "+" holds Shift.
int runKeys(const Arguments& args) {
    std::vector<INPUT> inputs;
    const auto press = [&inputs](WORD key, DWORD flags) {
        inputs.push_back({INPUT_KEYBOARD, {}});
        inputs.back().ki = {key, 0, flags, 0, 0};
    };
    for (const std::string& arg : args) {
        const bool shift = arg.rfind('+', 0) == 0;
        const auto key = parseNumber(arg.substr(shift ? 1 : 0));
        if (!key || *key == 0 || *key > 0xFE)
            return kUsage;
        if (shift)
            press(VK_SHIFT, 0);
        press(static_cast<WORD>(*key), 0);
        press(static_cast<WORD>(*key), KEYEVENTF_KEYUP);
        if (shift)
            press(VK_SHIFT, KEYEVENTF_KEYUP);
    }
    const auto count = static_cast<UINT>(inputs.size());
    return done(SendInput(count, inputs.data(), sizeof(INPUT)) == count);
}

// What a restarted shell sends every top-level window (Wine's explorer never restarts).
int runBroadcastTaskbarCreated(const Arguments&) {
    const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return done(SendNotifyMessageW(HWND_BROADCAST, message, 0, 0));
}

// What a shell that dies loses: every icon of the program.
int runDeleteIcons(const Arguments&) {
    const HWND main = FindWindowW(kMainClass, nullptr);
    if (!main)
        return kNotFound;
    int deleted = 0;
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        NOTIFYICONDATAW data{};
        data.cbSize = NOTIFYICONDATAW_V1_SIZE;
        data.hWnd = hostWindow(main, slot);
        data.uID = static_cast<UINT>(slot);
        deleted += Shell_NotifyIconW(NIM_DELETE, &data) != FALSE;
    }
    return done(deleted == kSlotCount);
}

// The commands by name, with the number of arguments each takes.
struct Command {
    std::string_view name;
    std::size_t leastArgs, mostArgs;
    int (*run)(const Arguments&);
};
constexpr Command kCommands[] = {
    {"state", 0, 0, runState},
    {"msgbox", 0, 0, runMsgbox},
    {"menu", 0, 0, runMenu},
    {"wait", 2, 2, runWait},
    {"post", 1, 3, runPost},              // post <slot> <message> [wparam] | post -
    {"syscommand", 1, 1, runSysCommand},  // syscommand minimize|close
    {"msgbox-ok", 0, 0, runMsgboxOk},
    {"keys", 1, 64, runKeys},  // keys [+]<virtual key>...
    {"broadcast-taskbar-created", 0, 0, runBroadcastTaskbarCreated},
    {"delete-icons", 0, 0, runDeleteIcons},
};

}  // namespace

int main(int argc, char** argv) {
    _setmode(_fileno(stdout), _O_BINARY);  // else the C runtime writes every LF as CR LF
    const std::string_view name = argc >= 2 ? argv[1] : "";
    const Arguments args(argv + std::min(argc, 2), argv + argc);
    for (const Command& command : kCommands) {
        if (command.name == name && args.size() >= command.leastArgs &&
            args.size() <= command.mostArgs) {
            return command.run(args);
        }
    }
    std::fputs("usage: probe <command> [arguments]; see probe.cpp\n", stderr);
    return kUsage;
}
