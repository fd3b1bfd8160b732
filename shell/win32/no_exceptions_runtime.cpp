// The program is built without exceptions, yet the library's containers still report misuse
// and exhausted memory by calling the functions below, whose library versions throw: linking
// those would pull in the exception classes, their strings and the unwinder (tens of KB).
// Here every such report ends the program with a message instead, which is what an escaping
// exception would have done, after taking the program's icons out of the tray.
#include <windows.h>

#include <shellapi.h>

#include <cstddef>
#include <new>

namespace {

// Each icon is held by one of this thread's windows (an edit box of the hidden form) under an
// id of 1 to 5. A request for a pair the shell does not hold just fails.
BOOL CALLBACK removeTrayIcons(HWND window, LPARAM) {
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = window;
    for (data.uID = 1; data.uID <= 5; ++data.uID)
        ::Shell_NotifyIconA(NIM_DELETE, &data);
    return TRUE;
}

BOOL CALLBACK removeTrayIconsOfWindowAndChildren(HWND window, LPARAM) {
    removeTrayIcons(window, 0);
    ::EnumChildWindows(window, removeTrayIcons, 0);
    return TRUE;
}

// The shell would keep the icons of an ended process until the pointer passes over them, and
// the box below would leave them answering presses meanwhile: they go first.
[[noreturn]] void endProgram() {
    ::EnumThreadWindows(::GetCurrentThreadId(), removeTrayIconsOfWindowAndChildren, 0);
    ::FatalAppExitW(0, L"quor6: メモリが不足しているか内部エラーが起きたため、終了します。");
    ::ExitProcess(3);
}

void* allocate(std::size_t size) {
    void* memory = ::HeapAlloc(::GetProcessHeap(), 0, size == 0 ? 1 : size);
    if (memory == nullptr)
        endProgram();
    return memory;
}

}  // namespace

void* operator new(std::size_t size) {
    return allocate(size);
}
void* operator new[](std::size_t size) {
    return allocate(size);
}
void operator delete(void* memory) noexcept {
    if (memory != nullptr)
        ::HeapFree(::GetProcessHeap(), 0, memory);
}
void operator delete[](void* memory) noexcept {
    operator delete(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    operator delete(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
    operator delete(memory);
}

#if defined(__GLIBCXX__)
namespace std {
void __throw_bad_alloc() {
    endProgram();
}
void __throw_bad_array_new_length() {
    endProgram();
}
void __throw_length_error(const char*) {
    endProgram();
}
void __throw_logic_error(const char*) {
    endProgram();
}
}  // namespace std
#endif
