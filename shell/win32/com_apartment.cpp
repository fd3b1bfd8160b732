#include "shell/win32/com_apartment.h"

#include <objbase.h>

namespace quor6::win32 {

namespace {

template <typename Function>
Function ole32Call(HMODULE ole32, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(ole32, name)));
}

}  // namespace

void ComApartment::enter() {
    if (ole32_ != nullptr)
        return;
    ole32_ = ::LoadLibraryW(L"ole32.dll");
    if (ole32_ == nullptr)
        return;
    const auto initialize = ole32Call<HRESULT(WINAPI*)(void*, DWORD)>(ole32_, "CoInitializeEx");
    // S_FALSE too (COM was on already) is to be balanced by CoUninitialize.
    entered_ = initialize != nullptr &&
               SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
}

ComApartment::~ComApartment() {
    if (entered_) {
        if (const auto uninitialize = ole32Call<void(WINAPI*)()>(ole32_, "CoUninitialize"))
            uninitialize();
    }
    if (ole32_ != nullptr)
        ::FreeLibrary(ole32_);
}

}  // namespace quor6::win32
