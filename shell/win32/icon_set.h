#pragma once

#include <windows.h>

#include <array>

#include "core/icon_holder.h"
#include "core/tray_frame_size.h"
#include "shell/win32/scoped_handle.h"

namespace quor6::win32 {

// The images of the icon set and the program icon, loaded from the resources and kept for the
// life of the window. The images of the set go only to the tray, so each is loaded as the
// hand-drawn frame of the tray's size (the small-icon size at the taskbar's DPI):
// drawn at exactly that size, the tray shows it unscaled. The program icon keeps its design
// size of 32 x 32. An image of the set is loaded when it is first asked for: start-up needs
// only five of them before the icons are in the tray.
class IconSet {
  public:
    explicit IconSet(HINSTANCE instance);

    HICON holder(IconHolder which) const;
    // The images handed out from now on are the frames for this small-icon size; those handed
    // out before stay valid (the hidden icon holders keep showing them).
    void useTraySize(int smallIconSize);
    HICON program() const { return program_.get(); }
    HICON programSmall() const { return programSmall_.get(); }

  private:
    HINSTANCE instance_;
    // Loaded on first use, one set per frame size.
    mutable std::array<std::array<ScopedIcon, kIconHolderCount>, kIconFrameSizes.size()> holders_;
    ScopedIcon program_;
    ScopedIcon programSmall_;
    int traySize_;
};

}  // namespace quor6::win32
