#pragma once

#include <windows.h>

#include <array>

#include "core/icon_holder.h"
#include "shell/win32/scoped_handle.h"

namespace quor6::win32 {

// The images of the icon set and the program icon, loaded once from the resources at their
// design size of 32 x 32 and kept for the life of the window.
class IconSet {
  public:
    explicit IconSet(HINSTANCE instance);

    HICON holder(IconHolder which) const { return holders_[static_cast<std::size_t>(which)].get(); }
    HICON program() const { return program_.get(); }
    HICON programSmall() const { return programSmall_.get(); }

  private:
    std::array<ScopedIcon, kIconHolderCount> holders_;
    ScopedIcon program_;
    ScopedIcon programSmall_;
};

}  // namespace quor6::win32
