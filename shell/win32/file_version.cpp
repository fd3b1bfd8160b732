#include "shell/win32/file_version.h"

#include <windows.h>
#include <winver.h>  // not part of windows.h with WIN32_LEAN_AND_MEAN everywhere

#include <memory>
#include <string>

#include "shell/win32/module_procedure.h"
#include "shell/win32/scoped_handle.h"

namespace quor6::win32 {
namespace {

struct FreeLibraryHandle {
    void operator()(HMODULE module) const { ::FreeLibrary(module); }
};
using ScopedLibrary = ScopedHandle<HMODULE, FreeLibraryHandle>;

// version.dll is not one of the DLLs Windows always takes from its own directory, and a player
// starts the program from wherever it was unpacked, maybe a download folder. So it is loaded
// by its full path from the system directory, and only when a version is asked for, never
// found beside the program as an import would be.
ScopedLibrary loadVersionLibrary() {
    constexpr wchar_t kName[] = L"\\version.dll";
    constexpr UINT kNameLength = sizeof(kName) / sizeof(kName[0]);  // with its zero
    wchar_t path[MAX_PATH];
    const UINT length = ::GetSystemDirectoryW(path, MAX_PATH);
    if (length == 0 || length > MAX_PATH - kNameLength)
        return ScopedLibrary();
    std::char_traits<wchar_t>::copy(path + length, kName, kNameLength);
    return ScopedLibrary(::LoadLibraryW(path));
}

}  // namespace

std::optional<unsigned> readFileMajorVersion(const std::wstring& path) {
    const ScopedLibrary library = loadVersionLibrary();
    if (!library)
        return std::nullopt;
    const auto infoSize =
        procedure<decltype(&::GetFileVersionInfoSizeW)>(library.get(), "GetFileVersionInfoSizeW");
    const auto info =
        procedure<decltype(&::GetFileVersionInfoW)>(library.get(), "GetFileVersionInfoW");
    const auto query = procedure<decltype(&::VerQueryValueW)>(library.get(), "VerQueryValueW");
    if (!infoSize || !info || !query)
        return std::nullopt;

    DWORD ignored = 0;
    const DWORD size = infoSize(path.c_str(), &ignored);
    if (size == 0)
        return std::nullopt;
    const std::unique_ptr<unsigned char[]> record(new unsigned char[size]);
    void* fixed = nullptr;
    UINT length = 0;
    if (!info(path.c_str(), 0, size, record.get()) ||
        !query(record.get(), L"\\", &fixed, &length) || length < sizeof(VS_FIXEDFILEINFO))
        return std::nullopt;
    return HIWORD(static_cast<const VS_FIXEDFILEINFO*>(fixed)->dwFileVersionMS);
}

}  // namespace quor6::win32
