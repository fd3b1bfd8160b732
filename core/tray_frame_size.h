#pragma once

#include <array>

namespace quor6 {

// The sizes at which every icon of the set is drawn by hand, smallest first: the small-icon
// size at 100 %, 125 %, 150 % and 200 % scaling.
inline constexpr std::array<int, 4> kIconFrameSizes = {16, 20, 24, 32};

// The frame to hand to the tray for the system's small-icon size: that size where a frame of
// it exists, else the nearest larger one, so the tray only ever shrinks a frame, never
// enlarges it; sizes above the largest get the largest.
constexpr int trayFrameSize(int smallIconSize) {
    for (const int frame : kIconFrameSizes) {
        if (smallIconSize <= frame)
            return frame;
    }
    return kIconFrameSizes.back();
}

}  // namespace quor6
