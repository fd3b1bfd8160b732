#pragma once

#include <cstdint>

namespace quor6::win32 {

// What the window passes on to the program's handlers.
class FormEvents {
  public:
    virtual ~FormEvents() = default;
    virtual void trayMouse(int slot, std::uint32_t message) = 0;
    virtual void command(int id) = 0;
    virtual void closeRequested() = 0;
    virtual void taskbarCreated() = 0;
    virtual void trayRetryTimer() = 0;
};

}  // namespace quor6::win32
