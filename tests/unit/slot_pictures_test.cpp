// The count a solve shows (the other pictures are seen through the window), and the icon size.
#include <gtest/gtest.h>

#include "core/slot_pictures.h"
#include "core/tray_frame_size.h"

namespace quor6 {
namespace {

using H = IconHolder;

TEST(SlotPictures, ASolveShowsOKAndTheCountModuloOneHundred) {
    const int kCases[][2] = {{7, 7}, {10, 10}, {99, 99}, {100, 0}, {105, 5}, {32767, 67}};
    for (const auto& [count, shown] : kCases) {
        EXPECT_EQ(verdictPictures({VerdictKind::Solved, 4, 0}, static_cast<std::int16_t>(count)),
                  (SlotPictures{H::PictureO, H::PictureK, PictureNum(shown / 10),
                                PictureNum(shown % 10)}))
            << count;
    }
}

TEST(TrayFrameSize, TheSmallIconSizeOrTheNearestLargerFrame) {
    const int kCases[][2] = {{0, 16},  {16, 16}, {17, 20}, {20, 20}, {21, 24},
                             {24, 24}, {25, 32}, {32, 32}, {33, 32}, {48, 32}};
    for (const auto& [smallIcon, frame] : kCases)
        EXPECT_EQ(trayFrameSize(smallIcon), frame) << "small-icon size " << smallIcon;
}

}  // namespace
}  // namespace quor6
