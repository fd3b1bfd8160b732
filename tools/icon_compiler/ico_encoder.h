#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "pixel_map.h"

namespace quor6::tools {

// Layout of the single-image icon file that encodeIco writes.
namespace ico_layout {
inline constexpr std::size_t kDirectorySize = 6;
inline constexpr std::size_t kEntrySize = 16;
inline constexpr std::size_t kImageOffset = kDirectorySize + kEntrySize;
inline constexpr std::size_t kInfoHeaderSize = 40;
inline constexpr std::size_t kPaletteSize = 16 * 4;
// 32 pixels of 4 bits make 16 bytes a row, already a multiple of 4.
inline constexpr std::size_t kXorRowBytes = kMapSize / 2;
inline constexpr std::size_t kXorSize = kXorRowBytes * kMapSize;
// 32 pixels of 1 bit make 4 bytes a row, already a multiple of 4.
inline constexpr std::size_t kAndRowBytes = kMapSize / 8;
inline constexpr std::size_t kAndSize = kAndRowBytes * kMapSize;
inline constexpr std::size_t kPaletteOffset = kImageOffset + kInfoHeaderSize;
inline constexpr std::size_t kXorOffset = kPaletteOffset + kPaletteSize;
inline constexpr std::size_t kAndOffset = kXorOffset + kXorSize;
inline constexpr std::size_t kImageSize = kInfoHeaderSize + kPaletteSize + kXorSize + kAndSize;
inline constexpr std::size_t kFileSize = kImageOffset + kImageSize;
}  // namespace ico_layout

// Encodes the map as a .ico file holding one 32 x 32 image with 4 bits per pixel and the
// standard palette. The AND mask is all zero, so every pixel is opaque.
std::vector<std::uint8_t> encodeIco(const PixelMap& map);

}  // namespace quor6::tools
