// Reading other processes' windows.
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

}  // namespace

std::vector<HWND> topLevelWindows(const wchar_t* wantedClass) {
    std::vector<HWND> found;
    for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, wantedClass, nullptr));)
        found.push_back(window);
    return found;
}

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

std::optional<std::vector<std::wstring>> listLines(HWND list) {
    const auto count = sendWithTimeout(list, LB_GETCOUNT, 0, 0);
    if (!count || *count == LB_ERR)
        return std::nullopt;
    std::vector<std::wstring> lines;
    for (WPARAM i = 0; i < static_cast<WPARAM>(*count); ++i) {
        auto line = readText(list, LB_GETTEXT, i, sendWithTimeout(list, LB_GETTEXTLEN, i, 0));
        if (!line)
            return std::nullopt;
        lines.push_back(std::move(*line));
    }
    return lines;
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

}  // namespace quor6::probe
