// The tray menu's new puzzle: a new answer, the first guess back in the tray, no history.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/unit/harness.h"

namespace quor6::fake {
namespace {

using testing::ElementsAre;

TEST(NewPuzzle, WhileAVerdictIsShownPutsTheFirstGuessBackAndClearsTheFlag) {
    Harness h;
    h.start("5139");
    h.clickUp(1);
    h.clickUp(1);  // 3234
    h.judge();
    ASSERT_EQ(h.state().VerdictShown, kTrue);
    h.random.queueSecret("2468");
    const std::size_t mark = h.toolkit.mark();
    h.form.resetAnser_Click();
    EXPECT_THAT(
        h.toolkit.trace({CallKind::SetGuessText, CallKind::ShellNotifyIcon, CallKind::ListClear},
                        mark),
        ElementsAre("setGuessText 1234", "tray modify 1 PictureNum1", "tray modify 2 PictureNum2",
                    "tray modify 3 PictureNum3", "tray modify 4 PictureNum4",
                    "listClear rirekiList", "listClear rirekilist2"));
    EXPECT_EQ(h.toolkit.trayPicture(), "1234@");
    EXPECT_EQ(h.state().VerdictShown, kFalse);
    EXPECT_EQ(h.state().SecretNumber, "2468");
    EXPECT_EQ(h.state().GuessCount, 0);
    EXPECT_EQ(h.random.reseedCount(), 2);

    // The next press on the menu icon judges the new puzzle instead of restoring.
    h.judge();
    EXPECT_EQ(h.toolkit.trayPicture(), "0S2B@");  // 1234 against 2468
    EXPECT_EQ(h.state().GuessCount, 1);
}

TEST(NewPuzzle, LeavesTheHeldButtonAlone) {
    Harness h;
    h.start();
    h.random.queueSecret("5139");
    h.toolkit.onDoEvents(1, Event::menu(MenuCommand::resetAnser));
    h.toolkit.onDoEvents(1, Event::mouse(5, kLeftButtonDown));  // judges the new 1234
    h.toolkit.onDoEvents(3, Event::mouse(2, kLeftButtonUp));
    h.mouse(2, kLeftButtonDown);
    // 1234 scored 1S 1B; the button is still held after the reset, so the next pass found
    // the verdict and restored the guess.
    EXPECT_EQ(h.state().VerdictShown, kFalse);
    EXPECT_EQ(h.guess(), "1234");
    EXPECT_EQ(h.toolkit.trayPicture(), "1234@");
    EXPECT_THAT(h.toolkit.window().rirekiList, testing::SizeIs(1));
}

}  // namespace
}  // namespace quor6::fake
