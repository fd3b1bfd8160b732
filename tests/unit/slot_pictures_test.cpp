// Which icon each digit slot shows for a guess and for each kind of verdict, and at which size.
#include <gtest/gtest.h>

#include "core/slot_pictures.h"
#include "core/tray_frame_size.h"

namespace quor6 {
namespace {

using H = IconHolder;

TEST(SlotPictures, AGuessShowsItsDigits) {
    EXPECT_EQ(guessPictures("5072"),
              (SlotPictures{H::PictureNum5, H::PictureNum0, H::PictureNum7, H::PictureNum2}));
}

TEST(SlotPictures, ARejectedGuessShowsBlankNGBlank) {
    EXPECT_EQ(verdictPictures({VerdictKind::Rejected, 0, 0}, 3),
              (SlotPictures{H::PictureSP, H::PictureN, H::PictureG, H::PictureSP}));
}

TEST(SlotPictures, AScoreShowsStrikesSBallsB) {
    EXPECT_EQ(verdictPictures({VerdictKind::Scored, 1, 2}, 4),
              (SlotPictures{H::PictureNum1, H::PictureS, H::PictureNum2, H::PictureB}));
    EXPECT_EQ(verdictPictures({VerdictKind::Scored, 0, 4}, 1),
              (SlotPictures{H::PictureNum0, H::PictureS, H::PictureNum4, H::PictureB}));
}

TEST(SlotPictures, ASolveShowsOKAndTheCountModuloOneHundred) {
    const auto solved = [](int count) {
        const SlotPictures shown =
            verdictPictures({VerdictKind::Solved, 4, 0}, static_cast<std::int16_t>(count));
        EXPECT_EQ(shown[0], H::PictureO);
        EXPECT_EQ(shown[1], H::PictureK);
        return 10 * static_cast<int>(shown[2]) + static_cast<int>(shown[3]);
    };
    EXPECT_EQ(solved(1), 1);
    EXPECT_EQ(solved(7), 7);
    EXPECT_EQ(solved(10), 10);
    EXPECT_EQ(solved(11), 11);
    EXPECT_EQ(solved(99), 99);
    EXPECT_EQ(solved(100), 0);
    EXPECT_EQ(solved(105), 5);
    EXPECT_EQ(solved(32767), 67);
}

TEST(TrayFrameSize, TheSmallIconSizeOrTheNearestLargerFrame) {
    const int cases[][2] = {{0, 16},  {16, 16}, {17, 20}, {18, 20}, {20, 20}, {21, 24},
                            {24, 24}, {25, 32}, {28, 32}, {32, 32}, {33, 32}, {48, 32}};
    for (const auto& [smallIcon, frame] : cases)
        EXPECT_EQ(trayFrameSize(smallIcon), frame) << "small-icon size " << smallIcon;
}

}  // namespace
}  // namespace quor6
