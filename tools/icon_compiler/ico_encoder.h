#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "pixel_map.h"

namespace quor6::tools {

// Layout of the icon file that encodeIco writes: a directory of one entry per frame, then
// the frames in the same order, each a bitmap header, the palette, the XOR image and the mask.
namespace ico_layout {
inline constexpr std::size_t kDirectorySize = 6;
inline constexpr std::size_t kEntrySize = 16;
inline constexpr std::size_t kInfoHeaderSize = 40;
inline constexpr std::size_t kPaletteSize = 16 * 4;

// Bitmap rows are padded to whole 32-bit words.
constexpr std::size_t paddedRowBytes(std::size_t bits) {
    return (bits + 31) / 32 * 4;
}
constexpr std::size_t xorSize(int size) {
    return paddedRowBytes(4 * static_cast<std::size_t>(size)) * static_cast<std::size_t>(size);
}
constexpr std::size_t andSize(int size) {
    return paddedRowBytes(static_cast<std::size_t>(size)) * static_cast<std::size_t>(size);
}
constexpr std::size_t imageSize(int size) {
    return kInfoHeaderSize + kPaletteSize + xorSize(size) + andSize(size);
}
}  // namespace ico_layout

// Encodes the frames as one .ico file, each with 4 bits per pixel and the standard palette.
// The AND masks are all zero, so every pixel is opaque.
std::vector<std::uint8_t> encodeIco(const std::vector<PixelMap>& frames);

}  // namespace quor6::tools
