// gui-resources: the program's GDI and USER object counts. GetGuiResources answers where the
// Windows implementation has it; otherwise gui_census.dll (beside the probe) is loaded into the
// program and counts from inside, through threads the probe starts there.
#include <windows.h>

#include <tlhelp32.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "commands.h"
#include "output.h"
#include "unique_handle.h"
#include "window_query.h"

namespace quor6::probe {

namespace {

constexpr DWORD kRemoteThreadTimeoutMs = 60000;
constexpr wchar_t kCensusLibrary[] = L"gui_census.dll";

struct GuiCounts {
    DWORD gdi = 0;
    DWORD user = 0;
};

DWORD processOf(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid;
}

// Memory committed in another process, released again when the owner goes.
class RemoteBuffer {
  public:
    RemoteBuffer(HANDLE process, const void* data, SIZE_T size)
        : process_(process),
          address_(
              VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {
        if (address_ && !WriteProcessMemory(process, address_, data, size, nullptr)) {
            release();
        }
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;
    ~RemoteBuffer() { release(); }

    void* address() const { return address_; }

  private:
    void release() {
        if (address_)
            VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        address_ = nullptr;
    }

    HANDLE process_;
    void* address_;
};

// Runs start(parameter) as a thread of the process and returns its exit code, or nothing if
// the thread could not be started or did not end in time.
std::optional<DWORD> runRemoteThread(HANDLE process, const void* start, void* parameter) {
    const UniqueHandle thread(CreateRemoteThread(
        process, nullptr, 0,
        reinterpret_cast<LPTHREAD_START_ROUTINE>(reinterpret_cast<std::uintptr_t>(start)),
        parameter, 0, nullptr));
    if (!thread)
        return std::nullopt;
    if (WaitForSingleObject(thread.get(), kRemoteThreadTimeoutMs) != WAIT_OBJECT_0)
        return std::nullopt;
    DWORD code = 0;
    if (!GetExitCodeThread(thread.get(), &code))
        return std::nullopt;
    return code;
}

// Where a module named like one of ours is loaded in the other process.
std::optional<std::uintptr_t> remoteModuleBase(DWORD pid, const std::wstring& name) {
    const UniqueHandle snapshot(
        CreateToolhelp32Snapshot(TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32, pid));
    if (!snapshot)
        return std::nullopt;
    MODULEENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Module32FirstW(snapshot.get(), &entry); more;
         more = Module32NextW(snapshot.get(), &entry)) {
        if (lstrcmpiW(entry.szModule, name.c_str()) == 0)
            return reinterpret_cast<std::uintptr_t>(entry.modBaseAddr);
    }
    return std::nullopt;
}

// The address in the other process of a function of a module both processes have loaded: the
// same offset from that process's base of the module, which need not sit where ours does.
std::optional<std::uintptr_t> remoteFunction(DWORD pid, HMODULE local, const wchar_t* module,
                                             const char* function) {
    const FARPROC address = GetProcAddress(local, function);
    const auto base = remoteModuleBase(pid, module);
    if (!address || !base)
        return std::nullopt;
    return *base +
           (reinterpret_cast<std::uintptr_t>(address) - reinterpret_cast<std::uintptr_t>(local));
}

std::wstring besideProbe(const wchar_t* fileName) {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    folder.erase(folder.find_last_of(L"\\/") + 1);
    return folder + fileName;
}

std::optional<GuiCounts> censusFromInside(DWORD pid) {
    const UniqueHandle process(OpenProcess(PROCESS_CREATE_THREAD | PROCESS_QUERY_INFORMATION |
                                               PROCESS_VM_OPERATION | PROCESS_VM_WRITE |
                                               PROCESS_VM_READ,
                                           FALSE, pid));
    if (!process) {
        printError("cannot open the program's process");
        return std::nullopt;
    }
    const std::wstring libraryPath = besideProbe(kCensusLibrary);
    // Loaded here as well, only to learn the offset of its entry point.
    const HMODULE localCensus = LoadLibraryW(libraryPath.c_str());
    const HMODULE localKernel = GetModuleHandleW(L"kernel32.dll");
    if (!localCensus) {
        printError("cannot load " + toUtf8(libraryPath));
        return std::nullopt;
    }
    const auto loadLibrary = remoteFunction(pid, localKernel, L"kernel32.dll", "LoadLibraryW");
    const auto freeLibrary = remoteFunction(pid, localKernel, L"kernel32.dll", "FreeLibrary");
    if (!loadLibrary || !freeLibrary) {
        printError("cannot find kernel32 in the program's process");
        FreeLibrary(localCensus);
        return std::nullopt;
    }

    std::optional<GuiCounts> counts;
    const RemoteBuffer remotePath(process.get(), libraryPath.c_str(),
                                  (libraryPath.size() + 1) * sizeof(wchar_t));
    const auto loaded =
        remotePath.address()
            ? runRemoteThread(process.get(), reinterpret_cast<const void*>(*loadLibrary),
                              remotePath.address())
            : std::nullopt;
    const auto remoteBase = remoteModuleBase(pid, kCensusLibrary);
    const auto census = remoteFunction(pid, localCensus, kCensusLibrary, "guiCensus");
    if (loaded && *loaded != 0 && remoteBase && census) {
        if (const auto packed =
                runRemoteThread(process.get(), reinterpret_cast<const void*>(*census), nullptr)) {
            counts = GuiCounts{LOWORD(*packed), HIWORD(*packed)};
        }
        runRemoteThread(process.get(), reinterpret_cast<const void*>(*freeLibrary),
                        reinterpret_cast<void*>(*remoteBase));
    }
    FreeLibrary(localCensus);
    if (!counts)
        printError("the census could not run inside the program");
    return counts;
}

}  // namespace

int runGuiResources(const Arguments& args) {
    if (!args.empty())
        return kUsage;
    const HWND main = findMainWindow();
    if (!main)
        return kNotFound;
    const DWORD pid = processOf(main);
    const UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pid));
    if (!process)
        return kCallFailed;
    SetLastError(ERROR_SUCCESS);
    const DWORD gdi = GetGuiResources(process.get(), GR_GDIOBJECTS);
    const DWORD user = GetGuiResources(process.get(), GR_USEROBJECTS);
    if (gdi != 0 || user != 0 || GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) {
        printValue("method", "GetGuiResources");
        printValue("gdi", static_cast<long long>(gdi));
        printValue("user", static_cast<long long>(user));
        return kOk;
    }
    const auto counts = censusFromInside(pid);
    if (!counts)
        return kCallFailed;
    printValue("method", "census");
    printValue("gdi", static_cast<long long>(counts->gdi));
    printValue("user", static_cast<long long>(counts->user));
    return kOk;
}

}  // namespace quor6::probe
