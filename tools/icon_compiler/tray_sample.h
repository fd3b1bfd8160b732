#pragma once

#include <array>
#include <cstdint>

#include "pixel_map.h"

namespace quor6::tools {

inline constexpr int kTraySize = 16;

// A map as the tray shows it: 16 x 16 palette indices, row 0 at the top.
struct TrayImage {
    std::array<std::uint8_t, kTraySize * kTraySize> index{};
    std::uint8_t at(int x, int y) const {
        return index[static_cast<std::size_t>(y * kTraySize + x)];
    }
    Rgb rgb(int x, int y) const { return standardPalette()[at(x, y)]; }
};

// Shrinks a map the way Wine's tray does: point sampling of source column 2x+1 and row 2y,
// with no filtering. Reference images for screenshot comparisons must be made the same way.
TrayImage sampleForTray(const PixelMap& map);

// How many of the 256 tray pixels differ between two images.
int countDifferingPixels(const TrayImage& a, const TrayImage& b);

}  // namespace quor6::tools
