#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace quor6 {

// A rectangle on the screen in pixels, right and bottom exclusive, as the shell reports an
// icon's place.
struct ScreenRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    bool empty() const { return right <= left || bottom <= top; }
    friend bool operator==(const ScreenRect& a, const ScreenRect& b) {
        return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
    }
};

inline constexpr int kDigitIcons = 4;

// Where each of the four digit icons stands, icon 1 first; nothing where the shell could not
// say.
using DigitIconPlaces = std::array<std::optional<ScreenRect>, kDigitIcons>;

// The icons (1..4) in the order a reader meets them: row by row from the top, each row left to
// right. A horizontal taskbar is one row, a vertical one a row per icon, the overflow flyout a
// grid. Icons whose vertical middle lies inside the height of a row's first icon belong to that
// row, so a pixel or two out of line does not start a new one. Nothing when any place is
// unknown or empty, or two icons share one rectangle (icons hidden in a closed overflow all
// report the same place): then nobody can tell which comes first.
std::optional<std::array<int, kDigitIcons>> readingOrder(const DigitIconPlaces& places);

}  // namespace quor6
