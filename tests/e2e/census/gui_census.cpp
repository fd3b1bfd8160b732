// gui_census.dll: loaded into a running program by the probe, counts that process's GDI and
// USER objects from inside it. It stands in for GetGuiResources where the Windows
// implementation lacks that call (Wine answers ERROR_CALL_NOT_IMPLEMENTED).
//
// Both handle tables are small and indexed: a GDI handle's low word is its table index, a
// USER handle is 0x20 + 2 x index, and a handle whose high word (its reuse counter) is zero
// names whatever object currently sits at that index. Inside the owning process each index
// can therefore be asked "is this a live object of kind K?" without knowing the counter.
// Every query used here only reads; none allocates an object that would skew the count.
#include <windows.h>

#include <cstdint>

namespace {

constexpr std::uintptr_t kGdiTableSize = 0x10000;
constexpr std::uintptr_t kFirstUserHandle = 0x20;
constexpr std::uintptr_t kLastUserHandle = 0xFFEF;

// Undocumented but exported by user32 on Windows and Wine alike; answers for a live icon or
// cursor without copying its bitmaps (GetIconInfo would create two GDI objects).
using CursorFrameInfo = HCURSOR(WINAPI*)(HCURSOR, DWORD, DWORD, DWORD*, DWORD*);

DWORD countGdiObjects() {
    DWORD count = 0;
    // Index 0 is never a handle; GetObjectType(0) would only report an error.
    for (std::uintptr_t index = 1; index < kGdiTableSize; ++index) {
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0)
            ++count;
    }
    return count;
}

bool isOwnWindow(HWND window) {
    DWORD pid = 0;
    return IsWindow(window) && GetWindowThreadProcessId(window, &pid) != 0 &&
           pid == GetCurrentProcessId();
}

DWORD countUserObjects() {
    const auto frameInfo = reinterpret_cast<CursorFrameInfo>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetCursorFrameInfo")));
    DWORD count = 0;
    for (std::uintptr_t value = kFirstUserHandle; value <= kLastUserHandle; value += 2) {
        const auto handle = reinterpret_cast<HANDLE>(value);
        DWORD rate = 0;
        DWORD steps = 0;
        if (isOwnWindow(static_cast<HWND>(handle)) || IsMenu(static_cast<HMENU>(handle)) ||
            CopyAcceleratorTableW(static_cast<HACCEL>(handle), nullptr, 0) > 0 ||
            (frameInfo && frameInfo(static_cast<HCURSOR>(handle), 0, 0, &rate, &steps))) {
            ++count;
        }
    }
    return count;
}

DWORD clampToWord(DWORD value) {
    return value > 0xFFFF ? 0xFFFF : value;
}

}  // namespace

// Runs as a thread of the counted process: the probe starts it with CreateRemoteThread and
// reads the result as the thread's exit code, GDI objects in the low word, USER objects in
// the high word.
extern "C" __declspec(dllexport) DWORD WINAPI guiCensus(void* /*unused*/) {
    const DWORD gdi = clampToWord(countGdiObjects());
    const DWORD user = clampToWord(countUserObjects());
    return MAKELONG(gdi, user);
}
