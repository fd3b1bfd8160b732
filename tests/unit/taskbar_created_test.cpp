// The shell's tray is created anew: the five icons come back showing what they showed.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

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

// Windows also broadcasts on a change of display scaling, while the icons still exist: then
// the adds are refused and the same pictures are shown again.
TEST(TaskbarCreated, KeepsAVerdictOnShowWhetherTheIconsWereLostOrNot) {
    for (const bool trayRecreated : {true, false}) {
        Harness h;
        h.start("5139");
        h.judge();
        const std::size_t mark = h.toolkit.mark();
        h.toolkit.deliver(Event::taskbarCreated(trayRecreated));
        const std::vector<std::string> requests =
            h.toolkit.trace({CallKind::ShellNotifyIcon}, mark);
        if (trayRecreated) {
            EXPECT_THAT(requests, ElementsAre("tray add 1 PictureNum1", "tray add 2 PictureS",
                                              "tray add 3 PictureNum1", "tray add 4 PictureB",
                                              "tray add 5 PictureSW"));
        } else {
            EXPECT_THAT(requests, ElementsAre("tray add 1 PictureNum1", "tray modify 1 PictureNum1",
                                              "tray add 2 PictureS", "tray modify 2 PictureS",
                                              "tray add 3 PictureNum1", "tray modify 3 PictureNum1",
                                              "tray add 4 PictureB", "tray modify 4 PictureB",
                                              "tray add 5 PictureSW", "tray modify 5 PictureSW"));
        }
        EXPECT_EQ(h.toolkit.trayPicture(), "1S1B@") << trayRecreated;
        EXPECT_EQ(h.toolkit.trayIconCount(), 5u);
        EXPECT_EQ(h.state().VerdictShown, kTrue);
        h.judge();  // the next press brings the guess back and counts nothing
        EXPECT_EQ(h.toolkit.trayPicture(), "1234@");
        EXPECT_EQ(h.state().GuessCount, 1);
    }
}

TEST(TaskbarCreated, ARefusedSecondCopyAddsNoIcon) {
    Harness h;
    h.toolkit.setPreviousInstanceRunning(true);
    h.toolkit.whileMessageBoxShows(Event::taskbarCreated());
    EXPECT_THROW(h.form.Form_Load(), ProcessEnded);
    EXPECT_EQ(h.toolkit.trayRequestCount(), 0);
    EXPECT_EQ(h.toolkit.trayIconCount(), 0u);
}

TEST(TaskbarCreated, AfterTheIconsWereTakenDownAddsNothing) {
    Harness h;
    h.start();
    std::int16_t cancel = 0;
    h.form.Form_Unload(cancel);
    const int requests = h.toolkit.trayRequestCount();
    h.toolkit.deliver(Event::taskbarCreated());
    EXPECT_EQ(h.toolkit.trayRequestCount(), requests);
    EXPECT_EQ(h.toolkit.trayIconCount(), 0u);
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
