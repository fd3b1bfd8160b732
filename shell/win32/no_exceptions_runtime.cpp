// The program is built without exceptions, yet the library's containers still report misuse
// and exhausted memory by calling the functions below, whose library versions throw: linking
// those would pull in the exception classes, their strings and the unwinder (tens of KB).
// Here every such report ends the program with a message instead, which is what an escaping
// exception would have done.
#include <windows.h>

#include <cstddef>
#include <new>

namespace {

[[noreturn]] void endProgram() {
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
