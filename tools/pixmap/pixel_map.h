#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quor6::tools {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend bool operator==(const Rgb& x, const Rgb& y) {
        return x.r == y.r && x.g == y.g && x.b == y.b;
    }
};

// The design size of every icon, and the sizes a map may add for the tray: the small-icon
// size at 100 %, 125 % and 150 % scaling, each drawn by hand so that no pixel is scaled.
inline constexpr int kMapSize = 32;
inline constexpr std::array<int, 4> kFrameSizes = {32, 24, 20, 16};

// The standard 16-colour palette in the order of a 4-bit Windows bitmap, and the character
// that stands for each colour in a pixel map:
//   # black  m maroon  g green  o olive   n navy  p purple   t teal  s silver
//   e grey   r red     l lime   y yellow  b blue  f fuchsia  a aqua  . white
const std::array<Rgb, 16>& standardPalette();
inline constexpr std::string_view kPaletteChars = "#mgonptserlybfa.";

// One square frame of palette indices, row 0 at the top.
struct PixelMap {
    explicit PixelMap(int frameSize = kMapSize)
        : size(frameSize), index(static_cast<std::size_t>(frameSize * frameSize)) {}

    int size;
    std::vector<std::uint8_t> index;

    std::uint8_t at(int x, int y) const { return index[static_cast<std::size_t>(y * size + x)]; }
    Rgb rgb(int x, int y) const { return standardPalette()[at(x, y)]; }
};

// Parses an icon's maps: one or more square frames, one after the other, each given as rows of
// palette characters. A frame's first row sets its size (one of kFrameSizes, each at most
// once) and as many rows of that width follow. Lines starting with ';' are comments and blank
// lines are skipped. On failure returns nothing and says why in `error`.
std::optional<std::vector<PixelMap>> parseIconFrames(std::string_view text, std::string& error);

// Reads and parses a map file.
std::optional<std::vector<PixelMap>> loadIconFrames(const std::string& path, std::string& error);

// The frame of the given size, or null when the icon has none.
const PixelMap* frameOfSize(const std::vector<PixelMap>& frames, int size);

}  // namespace quor6::tools
