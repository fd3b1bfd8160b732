#pragma once

#include <windows.h>

#include <array>

#include "core/icon_holder.h"
#include "shell/win32/scoped_handle.h"

namespace quor6::win32 {

// The images of the icon set and the program icon, loaded from the resources at their design
// size of 32 x 32 and kept for the life of the window. An image of the set is loaded when it
// is first asked for: start-up needs only five of them before the icons are in the tray.
class IconSet {
  public:
    explicit IconSet(HINSTANCE instance);

    HICON holder(IconHolder which) const;
    HICON program() const { return program_.get(); }
    HICON programSmall() const { return programSmall_.get(); }

  private:
    HINSTANCE instance_;
    mutable std::array<ScopedIcon, kIconHolderCount> holders_;
    ScopedIcon program_;
    ScopedIcon programSmall_;
};

}  // namespace quor6::win32
