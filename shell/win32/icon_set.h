#pragma once

#include <windows.h>

#include <array>

#include "core/icon_holder.h"
#include "shell/win32/scoped_handle.h"

namespace quor6::win32 {

// The images of the icon set and the program icon, loaded from the resources and kept for the
// life of the window. The images of the set go only to the tray, so each is loaded as the
// hand-drawn frame of the tray's size (the small-icon size of the DPI the process runs at):
// drawn at exactly that size, the tray shows it unscaled. The program icon keeps its design
// size of 32 x 32. An image of the set is loaded when it is first asked for: start-up needs
// only five of them before the icons are in the tray.
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
    int traySize_;
};

}  // namespace quor6::win32
