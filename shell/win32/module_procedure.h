#pragma once

#include <windows.h>

namespace quor6::win32 {

// A function of a loaded module, by name, as the pointer type `Function`; null where the module
// or the function is missing. For calls that older systems lack, or that are to stay out of the
// import table.
template <typename Function>
Function procedure(HMODULE module, const char* name) {
    if (module == nullptr)
        return nullptr;
    // Through the generic function pointer type, which converts to any other without warning.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

}  // namespace quor6::win32
