#pragma once

#include <windows.h>

namespace quor6::win32 {

// COM on the thread that enters it, apartment-threaded, from the first enter() for as long as
// the object lives. The shell's ShellExecuteEx wants it: it may hand a document to extensions
// that are COM objects. ole32 is loaded only then, so that start-up does not pay for it.
class ComApartment {
  public:
    ComApartment() = default;
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    void enter();

  private:
    HMODULE ole32_ = nullptr;
    bool entered_ = false;
};

}  // namespace quor6::win32
