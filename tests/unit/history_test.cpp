// The guess history in its three places: the store, the window list and the tray submenu.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/unit/harness.h"

namespace quor6::fake {
namespace {

using testing::ElementsAre;
using testing::ElementsAreArray;
using testing::IsEmpty;

constexpr const char* kLosingGuess = "5678";  // against 1234: 0S 0B

std::string line(int number) {
    return std::to_string(number) + "回目 5678 0S 0B ";
}

// `count` scored guesses against 1234, each followed by the press that restores the guess.
Harness& scoreGuesses(Harness& h, int count) {
    h.toolkit.window().guess = kLosingGuess;
    for (int i = 0; i < count; ++i) {
        h.judge();
        h.judge();
    }
    return h;
}

std::vector<std::string> visibleEntries(const Harness& h) {
    std::vector<std::string> captions;
    for (const HistoryEntry& entry : h.toolkit.window().historyEntries) {
        if (entry.visible)
            captions.push_back(entry.caption);
    }
    return captions;
}

TEST(History, AfterTheFirstScoredGuessEveryViewHoldsItsLine) {
    Harness h;
    h.start("1234");
    scoreGuesses(h, 1);
    EXPECT_THAT(h.toolkit.window().rirekiList, ElementsAre(line(1)));
    EXPECT_THAT(h.toolkit.window().rirekilist2, ElementsAre(line(1)));
    EXPECT_THAT(visibleEntries(h), ElementsAre(line(1)));
    EXPECT_TRUE(h.toolkit.window().historyEntries[0].visible);
}

TEST(History, AfterTenTheSubmenuIsFullNewestFirst) {
    Harness h;
    h.start("1234");
    scoreGuesses(h, 10);
    std::vector<std::string> newestFirst;
    for (int n = 10; n >= 1; --n)
        newestFirst.push_back(line(n));
    EXPECT_THAT(visibleEntries(h), ElementsAreArray(newestFirst));
    EXPECT_THAT(h.toolkit.window().rirekilist2, ElementsAreArray(newestFirst));
    EXPECT_EQ(h.toolkit.window().rirekiList.front(), line(1));
}

TEST(History, AfterElevenTheOldestLineLeavesOnlyTheSubmenu) {
    Harness h;
    h.start("1234");
    scoreGuesses(h, 11);
    std::vector<std::string> submenu;
    for (int n = 11; n >= 2; --n)
        submenu.push_back(line(n));
    EXPECT_THAT(visibleEntries(h), ElementsAreArray(submenu));
    EXPECT_EQ(h.toolkit.window().rirekiList.size(), 11u);
    EXPECT_EQ(h.toolkit.window().rirekilist2.size(), 11u);
    EXPECT_EQ(h.toolkit.window().rirekilist2.front(), line(11));
    EXPECT_EQ(h.toolkit.window().rirekilist2.back(), line(1));
}

TEST(History, ARecordedLineRebuildsTheViewsInOrder) {
    Harness h;
    h.start("1234");
    scoreGuesses(h, 1);
    const std::size_t mark = h.toolkit.mark();
    h.judge();
    std::vector<std::string> expected = {
        "listAppend rirekiList " + line(2), "listClear rirekilist2",
        "listAppend rirekilist2 " + line(2), "listAppend rirekilist2 " + line(1)};
    for (int i = 0; i < 10; ++i) {
        expected.push_back("setHistoryEntryVisible " + std::to_string(i) + " false");
    }
    for (int i = 0; i < 2; ++i) {
        expected.push_back("setHistoryEntryCaption " + std::to_string(i) + " " + line(2 - i));
        expected.push_back("setHistoryEntryVisible " + std::to_string(i) + " true");
    }
    EXPECT_THAT(
        h.toolkit.trace({CallKind::ListAppend, CallKind::ListClear,
                         CallKind::SetHistoryEntryCaption, CallKind::SetHistoryEntryVisible},
                        mark),
        ElementsAreArray(expected));
}

TEST(History, ARejectedGuessChangesNoneOfTheViews) {
    Harness h;
    h.start("1234");
    scoreGuesses(h, 2);
    h.toolkit.window().guess = "1123";
    const std::size_t mark = h.toolkit.mark();
    h.judge();
    EXPECT_EQ(h.toolkit.trayPicture(), "_NG_@");
    EXPECT_THAT(
        h.toolkit.trace({CallKind::ListAppend, CallKind::ListClear,
                         CallKind::SetHistoryEntryCaption, CallKind::SetHistoryEntryVisible},
                        mark),
        IsEmpty());
    EXPECT_EQ(h.toolkit.window().rirekiList.size(), 2u);
}

TEST(History, ASolveEmptiesStoreAndSubmenuButKeepsTheWindowList) {
    Harness h;
    h.start("1234");
    scoreGuesses(h, 3);
    h.toolkit.window().guess = "1234";
    h.random.queueSecret("5678");
    const std::size_t mark = h.toolkit.mark();
    h.judge();
    EXPECT_THAT(h.toolkit.window().rirekiList, IsEmpty());
    EXPECT_THAT(h.toolkit.window().rirekilist2, ElementsAre(line(3), line(2), line(1)));
    EXPECT_THAT(visibleEntries(h), IsEmpty());
    for (const HistoryEntry& entry : h.toolkit.window().historyEntries) {
        EXPECT_EQ(entry.caption, "");
    }
    std::vector<std::string> expected = {"listClear rirekiList"};
    for (int i = 0; i < 10; ++i) {
        expected.push_back("setHistoryEntryVisible " + std::to_string(i) + " false");
        expected.push_back("setHistoryEntryCaption " + std::to_string(i) + " ");
    }
    EXPECT_THAT(
        h.toolkit.trace({CallKind::ListAppend, CallKind::ListClear,
                         CallKind::SetHistoryEntryCaption, CallKind::SetHistoryEntryVisible},
                        mark),
        ElementsAreArray(expected));

    // The next scored guess starts the numbering again and replaces the old window list.
    h.judge();
    h.toolkit.window().guess = "1234";
    h.judge();
    EXPECT_THAT(h.toolkit.window().rirekilist2, ElementsAre("1回目 1234 0S 0B "));
    EXPECT_THAT(visibleEntries(h), ElementsAre("1回目 1234 0S 0B "));
}

TEST(History, ANewPuzzleEmptiesAllThreeViews) {
    Harness h;
    h.start("1234");
    scoreGuesses(h, 4);
    h.form.resetAnser_Click();
    EXPECT_THAT(h.toolkit.window().rirekiList, IsEmpty());
    EXPECT_THAT(h.toolkit.window().rirekilist2, IsEmpty());
    EXPECT_THAT(visibleEntries(h), IsEmpty());
}

TEST(History, ANewPuzzleWithAnEmptyHistoryIsHarmless) {
    Harness h;
    h.start("1234");
    h.form.resetAnser_Click();
    EXPECT_THAT(h.toolkit.window().rirekiList, IsEmpty());
    EXPECT_THAT(visibleEntries(h), IsEmpty());
}

TEST(History, StartUpLeavesTheSubmenuAsItWasCreated) {
    Harness h;
    h.start();
    EXPECT_THAT(
        h.toolkit.trace({CallKind::SetHistoryEntryCaption, CallKind::SetHistoryEntryVisible}),
        IsEmpty());
}

}  // namespace
}  // namespace quor6::fake
