// The shell's tray is created anew: the five icons come back showing the guess.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/unit/harness.h"

namespace quor6::fake {
namespace {

using testing::ElementsAre;

TEST(TaskbarCreated, AddsTheFiveIconsBackShowingTheGuess) {
    Harness h;
    h.start();
    h.clickUp(3);
    const std::size_t mark = h.toolkit.mark();
    h.toolkit.deliver(Event::taskbarCreated());
    EXPECT_THAT(
        h.toolkit.trace({CallKind::ShellNotifyIcon}, mark),
        ElementsAre("tray add 1 PictureNum1", "tray add 2 PictureNum2", "tray add 3 PictureNum4",
                    "tray add 4 PictureNum4", "tray add 5 PictureSW"));
    EXPECT_EQ(h.toolkit.trayPicture(), "1244@");
    EXPECT_EQ(h.toolkit.trayIconCount(), 5u);
}

TEST(TaskbarCreated, ShowsTheGuessInsteadOfAVerdictAndClearsTheFlag) {
    Harness h;
    h.start("5139");
    h.judge();
    ASSERT_EQ(h.state().VerdictShown, kTrue);
    h.toolkit.deliver(Event::taskbarCreated());
    EXPECT_EQ(h.toolkit.trayPicture(), "1234@");
    EXPECT_EQ(h.state().VerdictShown, kFalse);
    EXPECT_EQ(h.state().GuessCount, 1);  // nothing is judged or counted again
    h.judge();                           // so the next press judges rather than restores
    EXPECT_EQ(h.state().GuessCount, 2);
}

TEST(TaskbarCreated, UpdatesIconsThatSurvivedInsteadOfAddingThemTwice) {
    Harness h;
    h.start("5139");
    h.judge();
    const std::size_t mark = h.toolkit.mark();
    h.toolkit.deliver(Event::taskbarCreated(false));
    EXPECT_THAT(h.toolkit.trace({CallKind::ShellNotifyIcon}, mark),
                ElementsAre("tray add 1 PictureNum1", "tray modify 1 PictureNum1",
                            "tray add 2 PictureNum2", "tray modify 2 PictureNum2",
                            "tray add 3 PictureNum3", "tray modify 3 PictureNum3",
                            "tray add 4 PictureNum4", "tray modify 4 PictureNum4",
                            "tray add 5 PictureSW", "tray modify 5 PictureSW"));
    EXPECT_EQ(h.toolkit.trayPicture(), "1234@");
    EXPECT_EQ(h.state().VerdictShown, kFalse);
}

TEST(TaskbarCreated, AddsOnlyTheIconsThatWereLost) {
    Harness h;
    h.start();
    // The player removed icon 3 by other means; the others are still there.
    NotifyIconRecord third;
    third.hWnd = fakeTextBoxHandle(3);
    third.uID = 3;
    ASSERT_TRUE(h.toolkit.shellNotifyIcon(kNimDelete, third));
    const std::size_t mark = h.toolkit.mark();
    h.toolkit.deliver(Event::taskbarCreated(false));
    const std::vector<TrayRequest> requests = h.toolkit.trayRequests(mark);
    ASSERT_EQ(requests.size(), 9u);
    EXPECT_EQ(requests[4].describe(), "add 3 PictureNum3");
    EXPECT_TRUE(requests[4].accepted);
    EXPECT_EQ(requests[5].describe(), "add 4 PictureNum4");
    EXPECT_EQ(h.toolkit.trayPicture(), "1234@");
}

TEST(TaskbarCreated, ThePlayGoesOnAfterwards) {
    Harness h;
    h.start("5139");
    h.toolkit.deliver(Event::taskbarCreated());
    h.clickUp(2);
    h.clickUp(2);
    h.clickUp(2);
    h.judge();
    EXPECT_EQ(h.toolkit.trayPicture(), "1S2B@");  // 1534
    EXPECT_THROW(h.form.mnuEnd_Click(), ProcessEnded);
    EXPECT_EQ(h.toolkit.trayIconCount(), 0u);
}

}  // namespace
}  // namespace quor6::fake
