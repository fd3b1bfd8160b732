#include "core/reading_order.h"

#include <utility>

namespace quor6 {

namespace {

// Four icons need no more than this, and it keeps the program small.
template <typename Before>
void sortIcons(std::array<int, kDigitIcons>& icons, Before before) {
    for (std::size_t i = 1; i < icons.size(); ++i) {
        for (std::size_t j = i; j > 0 && before(icons[j], icons[j - 1]); --j)
            std::swap(icons[j], icons[j - 1]);
    }
}

}  // namespace

std::optional<std::array<int, kDigitIcons>> readingOrder(const DigitIconPlaces& places) {
    std::array<ScreenRect, kDigitIcons + 1> rect;  // by icon number
    for (int icon = 1; icon <= kDigitIcons; ++icon) {
        const std::optional<ScreenRect>& place = places[static_cast<std::size_t>(icon - 1)];
        if (!place || place->empty())
            return std::nullopt;
        for (int other = 1; other < icon; ++other) {
            if (rect[static_cast<std::size_t>(other)] == *place)
                return std::nullopt;
        }
        rect[static_cast<std::size_t>(icon)] = *place;
    }
    const auto at = [&rect](int icon) -> const ScreenRect& {
        return rect[static_cast<std::size_t>(icon)];
    };
    // Doubled middles keep the arithmetic in whole numbers.
    const auto middle2 = [&at](int icon) { return std::int64_t{at(icon).top} + at(icon).bottom; };

    // From the top down; an icon starts a new row when its middle lies below the first icon of
    // the current one.
    std::array<int, kDigitIcons> order = {1, 2, 3, 4};
    sortIcons(order, [&middle2](int a, int b) { return middle2(a) < middle2(b); });
    std::array<int, kDigitIcons + 1> rowOf{};
    int row = 0;
    int rowStart = order[0];
    for (const int icon : order) {
        if (middle2(icon) >= 2 * std::int64_t{at(rowStart).bottom}) {
            ++row;
            rowStart = icon;
        }
        rowOf[static_cast<std::size_t>(icon)] = row;
    }
    // Each row left to right; icons standing at one left edge in their row in icon order.
    order = {1, 2, 3, 4};
    sortIcons(order, [&](int a, int b) {
        const int rowA = rowOf[static_cast<std::size_t>(a)];
        const int rowB = rowOf[static_cast<std::size_t>(b)];
        return rowA != rowB ? rowA < rowB : at(a).left < at(b).left;
    });
    return order;
}

}  // namespace quor6
