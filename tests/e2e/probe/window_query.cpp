#include "window_query.h"

#include "control_ids.h"

namespace quor6::probe {

namespace {

constexpr UINT kSendTimeoutMs = 2000;

std::optional<LRESULT> sendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                             &result)) {
        return std::nullopt;
    }
    return static_cast<LRESULT>(result);
}

struct TopLevelSearch {
    const wchar_t* className;
    std::vector<HWND> found;
};

BOOL CALLBACK collectTopLevel(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<TopLevelSearch*>(context);
    if (className(window) == search->className)
        search->found.push_back(window);
    return TRUE;
}

}  // namespace

std::vector<HWND> topLevelWindows(const wchar_t* wantedClass) {
    TopLevelSearch search{wantedClass, {}};
    EnumWindows(collectTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
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

std::wstring className(HWND window) {
    wchar_t name[256] = {};
    const int length = GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return std::wstring(name, static_cast<std::size_t>(length > 0 ? length : 0));
}

std::optional<std::wstring> windowText(HWND window) {
    const auto length = sendWithTimeout(window, WM_GETTEXTLENGTH, 0, 0);
    if (!length)
        return std::nullopt;
    std::wstring text(static_cast<std::size_t>(*length) + 1, L'\0');
    const auto copied =
        sendWithTimeout(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    if (!copied)
        return std::nullopt;
    text.resize(static_cast<std::size_t>(*copied));
    return text;
}

std::optional<std::vector<std::wstring>> listLines(HWND list) {
    const auto count = sendWithTimeout(list, LB_GETCOUNT, 0, 0);
    if (!count || *count == LB_ERR)
        return std::nullopt;
    std::vector<std::wstring> lines;
    for (LRESULT i = 0; i < *count; ++i) {
        const auto index = static_cast<WPARAM>(i);
        const auto length = sendWithTimeout(list, LB_GETTEXTLEN, index, 0);
        if (!length || *length == LB_ERR)
            return std::nullopt;
        std::wstring line(static_cast<std::size_t>(*length) + 1, L'\0');
        const auto copied =
            sendWithTimeout(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(line.data()));
        if (!copied || *copied == LB_ERR)
            return std::nullopt;
        line.resize(static_cast<std::size_t>(*copied));
        lines.push_back(std::move(line));
    }
    return lines;
}

std::optional<long long> listCount(HWND list) {
    const auto count = sendWithTimeout(list, LB_GETCOUNT, 0, 0);
    if (!count || *count == LB_ERR)
        return std::nullopt;
    return static_cast<long long>(*count);
}

std::vector<HWND> childWindows(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    return children;
}

std::string rectText(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + "," +
           std::to_string(rect.right) + "," + std::to_string(rect.bottom);
}

}  // namespace quor6::probe
