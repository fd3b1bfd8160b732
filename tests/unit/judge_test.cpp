// Judging the guess from the menu icon: restore, NG, score and solve, with the count kept.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "tests/unit/harness.h"

namespace quor6::fake {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;

void setGuess(Harness& h, std::string guess) {
    h.toolkit.window().guess = std::move(guess);
}

// Judges the current guess `times` times, bringing the guess back after each verdict.
void judgeRepeatedly(Harness& h, int times) {
    for (int i = 0; i < times; ++i) {
        h.judge();
        h.judge();
    }
}

TEST(JudgeScore, ShowsStrikesAndBallsCountsAndRecordsTheLine) {
    Harness h;
    h.start("5139");
    setGuess(h, "1534");
    const std::size_t mark = h.toolkit.mark();
    h.judge();
    EXPECT_THAT(h.toolkit.trace({CallKind::ShellNotifyIcon, CallKind::SetGuessText}, mark),
                ElementsAre("tray modify 1 PictureNum1", "tray modify 2 PictureS",
                            "tray modify 3 PictureNum2", "tray modify 4 PictureB"));
    EXPECT_EQ(h.toolkit.trayPicture(), "1S2B@");
    EXPECT_EQ(h.state().VerdictShown, -1);  // true is all bits set, as a 16-bit flag
    EXPECT_EQ(h.state().GuessCount, 1);
    EXPECT_THAT(h.toolkit.window().rirekiList, ElementsAre("1回目 1534 1S 2B "));
    EXPECT_EQ(h.guess(), "1534");
    EXPECT_EQ(h.state().SecretNumber, "5139");
}

TEST(JudgeRejected, ShowsBlankNGBlankAndCountsNothing) {
    Harness h;
    h.start("5139");
    setGuess(h, "1134");
    const std::size_t mark = h.toolkit.mark();
    h.judge();
    EXPECT_EQ(h.toolkit.trayPicture(), "_NG_@");
    EXPECT_EQ(h.state().VerdictShown, kTrue);
    EXPECT_EQ(h.state().GuessCount, 0);
    EXPECT_THAT(
        h.toolkit.trace({CallKind::ListAppend, CallKind::ListClear,
                         CallKind::SetHistoryEntryCaption, CallKind::SetHistoryEntryVisible},
                        mark),
        IsEmpty());
}

TEST(JudgeRestore, ASecondPressBringsTheGuessBackAndChangesNothingElse) {
    Harness h;
    h.start("5139");
    for (const char* guess : {"1534", "1134", "5139"}) {
        SCOPED_TRACE(guess);
        setGuess(h, guess);
        h.judge();
        const PuzzleState before = h.state();
        const std::size_t mark = h.toolkit.mark();
        h.judge();
        EXPECT_EQ(h.toolkit.trayPicture(), std::string(guess) + "@");
        EXPECT_EQ(h.state().VerdictShown, kFalse);
        EXPECT_EQ(h.state().GuessCount, before.GuessCount);
        EXPECT_EQ(h.state().SecretNumber, before.SecretNumber);
        EXPECT_EQ(h.toolkit.trace({CallKind::ShellNotifyIcon}, mark).size(), 4u);
        EXPECT_THAT(h.toolkit.trace({CallKind::ListAppend, CallKind::ListClear,
                                     CallKind::SetGuessText, CallKind::SetHistoryEntryVisible},
                                    mark),
                    IsEmpty());
    }
}

struct EdgeRow {
    const char* guess;
    const char* picture;
    int countAfter;
    std::size_t historyLines;
};

class JudgeAgainst1234 : public testing::TestWithParam<EdgeRow> {};

TEST_P(JudgeAgainst1234, ShowsAndCountsAsTheRowSays) {
    const EdgeRow& row = GetParam();
    Harness h;
    h.start("1234");
    h.random.queueSecret("9876");
    setGuess(h, row.guess);
    h.judge();
    EXPECT_EQ(h.toolkit.trayPicture(), row.picture);
    EXPECT_EQ(h.state().GuessCount, row.countAfter);
    EXPECT_EQ(h.toolkit.window().rirekiList.size(), row.historyLines);
    EXPECT_EQ(h.state().VerdictShown, kTrue);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, JudgeAgainst1234,
    testing::Values(EdgeRow{"1234", "OK01@", 0, 0}, EdgeRow{"4321", "0S4B@", 1, 1},
                    EdgeRow{"1243", "2S2B@", 1, 1}, EdgeRow{"5678", "0S0B@", 1, 1},
                    EdgeRow{"1305", "1S1B@", 1, 1}, EdgeRow{"1123", "_NG_@", 0, 0},
                    EdgeRow{"0000", "_NG_@", 0, 0}));

class JudgeSolved : public testing::TestWithParam<int> {};

TEST_P(JudgeSolved, ShowsOKWithTheCountModuloOneHundredAndStartsANewPuzzle) {
    const int guesses = GetParam();
    Harness h;
    h.start("1234");
    setGuess(h, "5678");
    judgeRepeatedly(h, guesses - 1);
    setGuess(h, "1234");
    h.random.queueSecret("9876");
    h.judge();

    const int shown = guesses % 100;
    EXPECT_EQ(h.toolkit.trayPicture(),
              "OK" + std::to_string(shown / 10) + std::to_string(shown % 10) + "@");
    EXPECT_EQ(h.state().VerdictShown, kTrue);
    EXPECT_EQ(h.state().GuessCount, 0);
    EXPECT_EQ(h.state().SecretNumber, "9876");
    EXPECT_EQ(h.random.reseedCount(), 2);
    EXPECT_EQ(h.guess(), "1234");
    // The store and the submenu are emptied; the window list keeps the solved puzzle's lines.
    EXPECT_THAT(h.toolkit.window().rirekiList, IsEmpty());
    for (const HistoryEntry& entry : h.toolkit.window().historyEntries) {
        EXPECT_FALSE(entry.visible);
        EXPECT_EQ(entry.caption, "");
    }
    EXPECT_EQ(h.toolkit.window().rirekilist2.size(), static_cast<std::size_t>(guesses - 1));
    if (guesses > 1) {
        EXPECT_EQ(h.toolkit.window().rirekilist2.front(),
                  std::to_string(guesses - 1) + "回目 5678 0S 0B ");
    }
}

INSTANTIATE_TEST_SUITE_P(Counts, JudgeSolved, testing::Values(1, 7, 10, 11, 12, 105));

TEST(JudgeSolved, TheNextPressShowsTheOldGuessWhichIsThenJudgedAgainstTheNewAnswer) {
    Harness h;
    h.start("1234");
    h.random.queueSecret("9816");
    h.judge();
    EXPECT_EQ(h.toolkit.trayPicture(), "OK01@");
    h.judge();
    EXPECT_EQ(h.toolkit.trayPicture(), "1234@");
    EXPECT_EQ(h.state().VerdictShown, kFalse);
    h.judge();
    EXPECT_EQ(h.toolkit.trayPicture(), "0S1B@");
    EXPECT_EQ(h.state().GuessCount, 1);
    EXPECT_THAT(h.toolkit.window().rirekiList, ElementsAre("1回目 1234 0S 1B "));
}

TEST(JudgeCount, ARejectedGuessBetweenTwoScoredOnesTakesNoNumber) {
    Harness h;
    h.start("5139");
    setGuess(h, "1534");
    judgeRepeatedly(h, 1);
    setGuess(h, "1134");
    judgeRepeatedly(h, 1);
    setGuess(h, "1634");
    h.judge();
    EXPECT_EQ(h.state().GuessCount, 2);
    EXPECT_THAT(h.toolkit.window().rirekiList,
                ElementsAre("1回目 1534 1S 2B ", "2回目 1634 1S 1B "));
}

TEST(JudgeCount, EveryJudgedGuessCountsEvenTheSameGuessAgain) {
    Harness h;
    h.start("5139");
    judgeRepeatedly(h, 3);
    EXPECT_EQ(h.state().GuessCount, 3);
    EXPECT_EQ(h.toolkit.window().rirekiList.back(), "3回目 1234 1S 1B ");
}

}  // namespace
}  // namespace quor6::fake
