#include "shell/win32/com_apartment.h"

#include <objbase.h>

#include "shell/win32/module_procedure.h"

namespace quor6::win32 {

void ComApartment::enter() {
    if (ole32_ != nullptr)
        return;
    ole32_ = ::LoadLibraryW(L"ole32.dll");
    if (ole32_ == nullptr)
        return;
    const auto initialize = procedure<HRESULT(WINAPI*)(void*, DWORD)>(ole32_, "CoInitializeEx");
    // S_FALSE too (COM was on already) is to be balanced by CoUninitialize.
    entered_ = initialize != nullptr &&
               SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
}

ComApartment::~ComApartment() {
    if (entered_) {
        if (const auto uninitialize = procedure<void(WINAPI*)()>(ole32_, "CoUninitialize"))
            uninitialize();
    }
    if (ole32_ != nullptr)
        ::FreeLibrary(ole32_);
}

}  // namespace quor6::win32
