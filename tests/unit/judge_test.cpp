// Judging from the menu icon, the history's three views (store, window list, submenu), new puzzle.
#include <gmock/gmock.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "tests/unit/harness.h"

namespace quor6::fake {
namespace {

using testing::ElementsAre;
using testing::ElementsAreArray;
using testing::IsEmpty;

void judge(Harness& h, const char* guess) {
    h.toolkit.window().guess = guess;
    h.judge();
}

// The captions of the visible submenu entries, top first.
std::vector<std::string> submenu(const Harness& h) {
    std::vector<std::string> captions;
    for (const HistoryEntry& entry : h.toolkit.window().historyEntries)
        if (entry.visible)
            captions.push_back(entry.caption);
    return captions;
}

// Against 1234: each press shows the verdict and the count and records as the row says; the next
// press brings the guess back and records nothing.
TEST(Judge, ShowsCountsAndRecordsAsTheRowSaysThenTheNextPressRestores) {
    const struct {
        const char* guess;
        std::int16_t countBefore;
        const char* picture;
        std::int16_t countAfter;
        std::vector<std::string> store;  // the history store afterwards
    } kRows[] = {{"4321", 0, "0S4B@", 1, {"1回目 4321 0S 4B "}},
                 {"1243", 0, "2S2B@", 1, {"1回目 1243 2S 2B "}},
                 {"1305", 41, "1S1B@", 42, {"42回目 1305 1S 1B "}},
                 {"1123", 0, "_NG_@", 0, {}},
                 {"0000", 5, "_NG_@", 5, {}},
                 // A solve shows the count modulo 100 and starts a new puzzle.
                 {"1234", 0, "OK01@", 0, {}},
                 {"1234", 11, "OK12@", 0, {}},
                 {"1234", 104, "OK05@", 0, {}},
                 // At its 16-bit cap the count holds and the game goes on.
                 {"5678", 32766, "0S0B@", 32767, {"32767回目 5678 0S 0B "}},
                 {"5678", 32767, "0S0B@", 32767, {"32767回目 5678 0S 0B "}},
                 {"1234", 32767, "OK67@", 0, {}}};
    for (const auto& row : kRows) {
        SCOPED_TRACE(testing::Message() << row.guess << " after " << row.countBefore);
        Harness h;
        h.start("1234");
        // The cap is out of reach by play; the form's state is no const object: a defined write.
        const_cast<PuzzleState&>(h.state()).GuessCount = row.countBefore;
        h.random.queueSecret("9876");
        judge(h, row.guess);
        EXPECT_EQ(h.toolkit.trayPicture(), row.picture);
        EXPECT_EQ(h.state().VerdictShown, -1);  // true is all bits set, as a 16-bit flag
        EXPECT_EQ(h.state().GuessCount, row.countAfter);
        EXPECT_EQ(h.toolkit.window().rirekiList, row.store);
        EXPECT_EQ(h.state().SecretNumber, row.picture[0] == 'O' ? "9876" : "1234");

        const std::size_t mark = h.toolkit.mark();
        h.judge();
        EXPECT_EQ(h.toolkit.trayPicture(), std::string(row.guess) + "@");
        EXPECT_EQ(h.state().VerdictShown, kFalse);
        EXPECT_THAT(h.toolkit.trace({CallKind::ListAppend, CallKind::ListClear,
                                     CallKind::SetGuessText, CallKind::SetHistoryEntryVisible},
                                    mark),
                    IsEmpty());
    }
}

// Rejected guesses take no number and no line; a solve empties the store and the submenu,
// while the open window's list keeps its lines until the next guess rebuilds it.
TEST(History, EveryScoredGuessAddsALineTheSubmenuShowsTheNewestTenASolveOrANewPuzzleEmpties) {
    Harness h;
    h.start("1234");
    std::vector<std::string> newestFirst;
    for (int n = 1; n <= 11; ++n) {
        judge(h, "1123");
        h.judge();
        judge(h, "5678");  // the same guess again counts again
        h.judge();
        newestFirst.insert(newestFirst.begin(), std::to_string(n) + "回目 5678 0S 0B ");
        const WindowModel& window = h.toolkit.window();
        EXPECT_THAT(window.rirekiList, ElementsAreArray(newestFirst.rbegin(), newestFirst.rend()));
        EXPECT_EQ(window.rirekilist2, newestFirst);
        EXPECT_THAT(submenu(h),
                    ElementsAreArray(newestFirst.begin(), newestFirst.begin() + std::min(n, 10)));
    }
    h.random.queueSecret("9816");
    judge(h, "1234");
    EXPECT_THAT(h.toolkit.window().rirekiList, IsEmpty());
    EXPECT_EQ(h.toolkit.window().rirekilist2, newestFirst);
    for (const HistoryEntry& entry : h.toolkit.window().historyEntries)
        EXPECT_EQ(entry.caption + (entry.visible ? "shown" : ""), "");
    // The next press shows the old guess again, the one after judges it against 9816.
    h.judge();
    EXPECT_EQ(h.toolkit.trayPicture(), "1234@");
    h.judge();
    EXPECT_EQ(h.toolkit.trayPicture(), "0S1B@");
    EXPECT_THAT(h.toolkit.window().rirekilist2, ElementsAre("1回目 1234 0S 1B "));
    EXPECT_THAT(submenu(h), ElementsAre("1回目 1234 0S 1B "));
    // A new puzzle while a verdict is shown puts the first guess back and empties all three.
    h.toolkit.window().guess = "1534";
    h.random.queueSecret("2468");
    h.form.resetAnser_Click();
    const WindowModel& window = h.toolkit.window();
    EXPECT_EQ(std::string(h.guess()) + h.toolkit.trayPicture() + h.state().SecretNumber +
                  std::to_string(h.state().GuessCount) + std::to_string(h.state().VerdictShown),
              "12341234@246800");
    EXPECT_EQ(window.rirekiList.size() + window.rirekilist2.size() + submenu(h).size(), 0u);
    h.judge();  // judges the new puzzle instead of restoring
    EXPECT_EQ(h.toolkit.trayPicture() + std::to_string(h.state().GuessCount), "0S2B@1");
}

}  // namespace
}  // namespace quor6::fake
