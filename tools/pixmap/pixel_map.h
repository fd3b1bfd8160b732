#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quor6::tools {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend bool operator==(const Rgb& x, const Rgb& y) {
        return x.r == y.r && x.g == y.g && x.b == y.b;
    }
};

inline constexpr int kMapSize = 32;

// The standard 16-colour palette in the order of a 4-bit Windows bitmap, and the character
// that stands for each colour in a pixel map:
//   # black  m maroon  g green  o olive   n navy  p purple   t teal  s silver
//   e grey   r red     l lime   y yellow  b blue  f fuchsia  a aqua  . white
const std::array<Rgb, 16>& standardPalette();
inline constexpr std::string_view kPaletteChars = "#mgonptserlybfa.";

// A 32 x 32 image of palette indices, row 0 at the top.
struct PixelMap {
    std::array<std::uint8_t, kMapSize * kMapSize> index{};
    std::uint8_t at(int x, int y) const {
        return index[static_cast<std::size_t>(y * kMapSize + x)];
    }
    Rgb rgb(int x, int y) const { return standardPalette()[at(x, y)]; }
};

// Parses a map: 32 lines of 32 palette characters. Lines starting with ';' are comments and
// blank lines are skipped. On failure returns nothing and says why in `error`.
std::optional<PixelMap> parsePixelMap(std::string_view text, std::string& error);

// Reads and parses a map file.
std::optional<PixelMap> loadPixelMap(const std::string& path, std::string& error);

}  // namespace quor6::tools
