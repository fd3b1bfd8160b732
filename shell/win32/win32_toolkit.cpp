#include "shell/win32/win32_toolkit.h"

#include <shellapi.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "resources/version.h"
#include "shell/win32/control_ids.h"
#include "shell/win32/dpi.h"
#include "shell/win32/file_version.h"
#include "shell/win32/right_double_click_watch.h"
#include "shell/win32/text_conversion.h"
#include "shell/win32/tray_icon_place.h"
#include "tray/notify_icon_record.h"
#include "tray/tray_slots.h"

namespace quor6::win32 {

namespace {

constexpr wchar_t kInstanceMutexName[] = L"Local\\quor6.single-instance";

// Window and icon handles are 32-bit values on every Windows, also in 64-bit processes,
// which is what lets the tray record carry them in 32 bits.
template <typename H>
Handle32 toHandle32(H handle) {
    return static_cast<Handle32>(reinterpret_cast<std::uintptr_t>(handle));
}
template <typename H>
H fromHandle32(Handle32 value) {
    return reinterpret_cast<H>(static_cast<std::intptr_t>(static_cast<std::int32_t>(value)));
}

std::wstring textOf(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
    const int copied = ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

std::wstring modulePath() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return {};
        if (length < buffer.size())
            return std::wstring(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

// A directory reported by GetWindowsDirectoryW or GetSystemDirectoryW, empty on failure.
std::string directoryFrom(UINT(WINAPI* query)(LPWSTR, UINT)) {
    wchar_t buffer[MAX_PATH] = {};
    const UINT length = query(buffer, MAX_PATH);
    return length > 0 && length < MAX_PATH ? toUtf8(std::wstring(buffer, length)) : std::string();
}

}  // namespace

Win32Toolkit::Win32Toolkit(HINSTANCE instance)
    : instance_(instance),
      icons_(instance),
      menu_(instance),
      form_(instance, icons_, menu_.bar()) {}

int Win32Toolkit::runMessageLoop() {
    form_.completeControls();
    MSG message{};
    BOOL received = FALSE;
    while ((received = ::GetMessageW(&message, nullptr, 0, 0)) > 0)
        dispatch(message);
    // -1: the system could not deliver a message; the loop cannot go on.
    return received == 0 ? static_cast<int>(message.wParam) : 1;
}

void Win32Toolkit::dispatch(MSG& message) {
    if (form_.preTranslate(message))
        return;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
}

RECT Win32Toolkit::formRect() const {
    RECT rect{};
    ::GetWindowRect(form_.handle(), &rect);
    return rect;
}

double Win32Toolkit::toTwips(int pixels) const {
    return static_cast<double>(pixels) * 1440.0 / form_.dpi();
}

int Win32Toolkit::toPixels(double twips) const {
    return static_cast<int>(std::lround(twips * form_.dpi() / 1440.0));
}

double Win32Toolkit::formLeft() const {
    return toTwips(formRect().left);
}
double Win32Toolkit::formTop() const {
    return toTwips(formRect().top);
}
double Win32Toolkit::formWidth() const {
    const RECT r = formRect();
    return toTwips(r.right - r.left);
}
double Win32Toolkit::formHeight() const {
    const RECT r = formRect();
    return toTwips(r.bottom - r.top);
}

void Win32Toolkit::setFormLeft(float twips) {
    ::SetWindowPos(form_.handle(), nullptr, toPixels(twips), formRect().top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Toolkit::setFormTop(float twips) {
    ::SetWindowPos(form_.handle(), nullptr, formRect().left, toPixels(twips), 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

double Win32Toolkit::screenWidth() const {
    return toTwips(::GetSystemMetrics(SM_CXSCREEN));
}
double Win32Toolkit::screenHeight() const {
    return toTwips(::GetSystemMetrics(SM_CYSCREEN));
}

void Win32Toolkit::showForm() {
    form_.completeControls();
    HWND window = form_.handle();
    if (::IsIconic(window)) {
        // Showing a minimized window leaves it minimized, and the command would seem to do
        // nothing. Back in its normal state it goes to the centre of the screen, where the
        // tray requests it missed while minimized would have put it.
        ::ShowWindow(window, SW_RESTORE);
        const RECT rect = formRect();
        ::SetWindowPos(window, nullptr,
                       (::GetSystemMetrics(SM_CXSCREEN) - (rect.right - rect.left)) / 2,
                       (::GetSystemMetrics(SM_CYSCREEN) - (rect.bottom - rect.top)) / 2, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ::ShowWindow(window, SW_SHOW);
    ::SetForegroundWindow(window);
    form_.placeFocus();
}

void Win32Toolkit::hideForm() {
    ::ShowWindow(form_.handle(), SW_HIDE);
    form_.placeFocus();  // if the window is still active, off its hidden controls
}

Handle32 Win32Toolkit::formHandle() const {
    return toHandle32(form_.handle());
}

Handle32 Win32Toolkit::textBoxHandle(int slot) const {
    if (slot < 1 || slot > kSlotCount)
        return 0;
    return toHandle32(form_.control(kText1Id + slot - 1));
}

std::string Win32Toolkit::guessText() const {
    return toUtf8(textOf(form_.control(kText1Id)));
}

void Win32Toolkit::setGuessText(std::string_view text) {
    ::SetWindowTextW(form_.control(kText1Id), toWide(text).c_str());
}

Handle32 Win32Toolkit::iconHandle(IconHolder holder) const {
    return toHandle32(icons_.holder(holder));
}

bool Win32Toolkit::shellNotifyIcon(std::uint32_t request, const NotifyIconRecord& record) {
#ifdef _WIN64
    // A 64-bit shell reads its own layout; the same request is carried over field by field.
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = fromHandle32<HWND>(record.hWnd);
    data.uID = record.uID;
    data.uFlags = record.uFlags;
    data.uCallbackMessage = record.uCallbackMessage;
    data.hIcon = fromHandle32<HICON>(record.hIcon);
#else
    // The shell reads the record as its first layout; it goes out byte for byte.
    static_assert(sizeof(NOTIFYICONDATAA) >= sizeof(NotifyIconRecord), "record fits");
    NOTIFYICONDATAA data{};
    std::memcpy(&data, &record, sizeof(record));
#endif
    return ::Shell_NotifyIconA(request, &data) != FALSE;
}

std::int32_t Win32Toolkit::trayIconPlace(Handle32 host, std::uint32_t id, ScreenRect& place) {
    return win32::trayIconPlace(fromHandle32<HWND>(host), id, place);
}

HWND Win32Toolkit::listWindow(ListBox list) const {
    return form_.control(list == ListBox::rirekiList ? kRirekiListId : kRirekilist2Id);
}

void Win32Toolkit::listClear(ListBox list) {
    ::SendMessageW(listWindow(list), LB_RESETCONTENT, 0, 0);
}

void Win32Toolkit::listAppend(ListBox list, std::string_view line) {
    const std::wstring text = toWide(line);
    ::SendMessageW(listWindow(list), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

int Win32Toolkit::listCount(ListBox list) const {
    const LRESULT count = ::SendMessageW(listWindow(list), LB_GETCOUNT, 0, 0);
    return count > 0 ? static_cast<int>(count) : 0;
}

std::string Win32Toolkit::listItem(ListBox list, int index) const {
    HWND window = listWindow(list);
    const LRESULT length = ::SendMessageW(window, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length <= 0)
        return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied = ::SendMessageW(window, LB_GETTEXT, static_cast<WPARAM>(index),
                                          reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return toUtf8(text);
}

void Win32Toolkit::setListVisible(ListBox list, bool visible) {
    if (list == ListBox::rirekilist2)
        form_.showHistoryList(visible);
    else
        ::ShowWindow(listWindow(list), visible ? SW_SHOW : SW_HIDE);
}

void Win32Toolkit::setMenuRootVisible(bool visible) {
    ::SetMenu(form_.handle(), visible ? menu_.bar() : nullptr);
}

void Win32Toolkit::setHistoryEntryCaption(int index, std::string_view caption) {
    menu_.setHistoryCaption(index, toWide(caption));
}

void Win32Toolkit::setHistoryEntryVisible(int index, bool visible) {
    menu_.setHistoryVisible(index, visible);
}

bool Win32Toolkit::setForegroundWindow(Handle32 window) {
    return ::SetForegroundWindow(fromHandle32<HWND>(window)) != FALSE;
}

TrayMenuOutcome Win32Toolkit::popupTrayMenu() {
    POINT pointer{};
    ::GetCursorPos(&pointer);
    // The press that opened the menu is the last input the system has seen (its release or a
    // small move may have followed it by a few milliseconds).
    LASTINPUTINFO lastInput{sizeof(lastInput), 0};
    const DWORD pressTime = ::GetLastInputInfo(&lastInput) ? lastInput.dwTime : ::GetTickCount();
    const RightDoubleClickWatch watch(pointer, pressTime);
    // The command comes back here so that it runs inside the press that opened the menu.
    const UINT flags = TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON;
    const BOOL chosen =
        ::TrackPopupMenu(menu_.popup(), flags, pointer.x, pointer.y, 0, form_.handle(), nullptr);
    // Without a message after the menu, it would not close when the player clicks elsewhere.
    ::PostMessageW(form_.handle(), WM_NULL, 0, 0);
    if (watch.completed())
        return {MenuCommand::None, true};
    return {static_cast<MenuCommand>(chosen), false};
}

void Win32Toolkit::chooseTrayIconFrames() {
    icons_.useTraySize(traySmallIconSize());
}

void Win32Toolkit::setTrayRetryTimer(bool on) {
    constexpr UINT kPeriodMilliseconds = 500;
    if (on)
        ::SetTimer(form_.handle(), kTrayRetryTimerId, kPeriodMilliseconds, nullptr);
    else
        ::KillTimer(form_.handle(), kTrayRetryTimerId);
}

void Win32Toolkit::closeTrayMenu() {
    // Ends the menu loop of this thread, if there is one.
    ::EndMenu();
}

void Win32Toolkit::doEvents() {
    MSG message{};
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        dispatch(message);
    }
}

void Win32Toolkit::sleepMilliseconds(unsigned milliseconds) {
    ::Sleep(milliseconds);
}

void Win32Toolkit::messageBox(std::string_view text) {
    // Owned by the window, so that the window cannot be used while the box is up, whether it
    // is shown or not (a copy that is refused shows its box before anything else is shown).
    ::MessageBoxW(form_.handle(), toWide(text).c_str(), L"" QUOR6_PRODUCT_NAME,
                  MB_OK | MB_SETFOREGROUND);
}

bool Win32Toolkit::previousInstanceRunning() {
    instanceMutex_.reset(::CreateMutexW(nullptr, FALSE, kInstanceMutexName));
    const DWORD error = ::GetLastError();
    const InstanceLock lock =
        instanceMutex_
            ? (error == ERROR_ALREADY_EXISTS ? InstanceLock::AlreadyExists : InstanceLock::Created)
        : error == ERROR_ACCESS_DENIED ? InstanceLock::AccessDenied
                                       : InstanceLock::Failed;
    return anotherCopyRunning(lock);
}

void Win32Toolkit::endProcess() {
    ::ExitProcess(0);
}

std::string Win32Toolkit::executableDirectory() const {
    std::wstring path = modulePath();
    const std::size_t separator = path.find_last_of(L"\\/");
    path.resize(separator == std::wstring::npos ? 0 : separator);
    return toUtf8(path);
}

std::string Win32Toolkit::windowsDirectory() const {
    return directoryFrom(::GetWindowsDirectoryW);
}

std::string Win32Toolkit::systemDirectory() const {
    return directoryFrom(::GetSystemDirectoryW);
}

bool Win32Toolkit::startProcess(std::string_view program, std::string_view commandLine) {
    const std::wstring application = toWide(program);
    std::wstring line = toWide(commandLine);  // CreateProcessW may write into it
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(application.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &process)) {
        return false;
    }
    ScopedKernelHandle thread(process.hThread);
    ScopedKernelHandle child(process.hProcess);
    // The viewer is to come up in front: let it take the foreground from us.
    ::AllowSetForegroundWindow(process.dwProcessId);
    return true;
}

std::optional<unsigned> Win32Toolkit::fileMajorVersion(std::string_view path) const {
    return readFileMajorVersion(toWide(path));
}

bool Win32Toolkit::openDocument(std::string_view path) {
    com_.enter();
    const std::wstring file = toWide(path);
    SHELLEXECUTEINFOW execute{};
    execute.cbSize = sizeof(execute);
    // No box of the shell's on failure: the program says itself what could not be opened.
    execute.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    execute.lpVerb = L"open";
    execute.lpFile = file.c_str();
    execute.nShow = SW_SHOWNORMAL;
    if (!::ShellExecuteExW(&execute))
        return false;
    // The page is to come up in front. A program the shell started for it may take the
    // foreground from us as the one it was started by, right after the menu choice; it is
    // allowed so by name too. A page handed to a browser that runs already comes back with
    // no process: no other process is allowed the foreground.
    if (execute.hProcess != nullptr) {
        const ScopedKernelHandle started(execute.hProcess);
        ::AllowSetForegroundWindow(::GetProcessId(started.get()));
    }
    return true;
}

}  // namespace quor6::win32
