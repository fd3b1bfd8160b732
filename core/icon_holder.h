#pragma once

#include <cstdint>

namespace quor6 {

// The images of the icon set, named after the picture box that holds each one.
// The ten digits come first so that a digit value converts to its holder directly.
enum class IconHolder : std::uint8_t {
    PictureNum0,
    PictureNum1,
    PictureNum2,
    PictureNum3,
    PictureNum4,
    PictureNum5,
    PictureNum6,
    PictureNum7,
    PictureNum8,
    PictureNum9,
    PictureS,
    PictureB,
    PictureO,
    PictureK,
    PictureN,
    PictureG,
    PictureSP,
    PictureSW,
};

inline constexpr int kIconHolderCount = static_cast<int>(IconHolder::PictureSW) + 1;

// The holder of the digit icon for `digit` (0..9); other values are clamped into range
// so that a caller can never index outside the icon set.
constexpr IconHolder PictureNum(int digit) {
    if (digit < 0)
        digit = 0;
    if (digit > 9)
        digit = 9;
    return static_cast<IconHolder>(digit);
}

}  // namespace quor6
