// The digit icons ranked by where the shell shows them, and the guess read left to right there.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/reading_order.h"
#include "tests/unit/harness.h"

namespace quor6::fake {
namespace {

using Layout = FakeToolkit::Layout;

// A 16-pixel icon whose top left corner is at (x, y).
ScreenRect icon(std::int32_t x, std::int32_t y) {
    return {x, y, x + 16, y + 16};
}

// The ranking as text ("4321": icon 4 is read first), or "-" where it is not known.
std::string ranked(const DigitIconPlaces& places) {
    const auto order = readingOrder(places);
    std::string text;
    for (const int slot : order ? *order : std::array<int, 4>{})
        text += static_cast<char>('0' + slot);
    return order ? text : "-";
}

TEST(ReadingOrder, RowByRowFromTheTopEachLeftToRightAndUnknownWhereAnyPlaceIsUnsure) {
    const std::optional<ScreenRect> none;
    const struct {
        DigitIconPlaces places;
        const char* order;
    } kCases[] = {
        {{icon(96, 0), icon(72, 0), icon(48, 0), icon(24, 0)}, "4321"},  // XP on: far end
        {{icon(0, 0), icon(24, 0), icon(48, 0), icon(72, 0)}, "1234"},
        {{icon(48, 0), icon(0, 0), icon(72, 0), icon(24, 0)}, "2413"},   // dragged
        {{icon(0, 72), icon(0, 48), icon(0, 24), icon(0, 0)}, "4321"},   // a vertical taskbar
        {{icon(0, 24), icon(24, 24), icon(48, 0), icon(0, 0)}, "4312"},  // a grid of rows
        {{icon(30, 0), icon(0, 40), icon(0, 0), icon(30, 40)}, "3124"},  // a 2 x 2 grid
        {{icon(0, 2), icon(24, 0), icon(48, 3), icon(72, -2)}, "1234"},  // out of line: one row
        {{icon(0, 7), icon(24, 0), icon(48, 0), icon(72, 0)}, "1234"},   // under half: one row
        {{icon(0, 8), icon(24, 0), icon(48, 0), icon(72, 0)}, "2341"},   // half down: a new row
        {{icon(24, 0), ScreenRect{24, 0, 40, 10}, icon(0, 0), icon(48, 0)}, "3124"},  // a tie
        {{icon(0, 0), icon(24, 0), icon(24, 0), icon(72, 0)}, "-"},  // a closed overflow
        {{icon(0, 0), none, icon(48, 0), icon(72, 0)}, "-"},         // the shell failed
        {{icon(0, 0), ScreenRect{24, 0, 24, 16}, icon(48, 0), icon(72, 0)}, "-"},  // empty
        {{icon(0, 0), icon(24, 0), ScreenRect{48, 8, 64, 8}, icon(72, 0)}, "-"},   // no height
    };
    for (const auto& c : kCases)
        EXPECT_EQ(ranked(c.places), c.order);
}

// Tray requests from `mark` on, each as slot and picture: "4:1" for "tray modify 4 PictureNum1".
std::string requests(const Harness& h, std::size_t mark) {
    std::string text;
    for (const std::string& line : h.toolkit.trace({CallKind::ShellNotifyIcon}, mark)) {
        const std::string picture = line.substr(line.rfind(' ') + 1);
        text += (text.empty() ? "" : " ") + line.substr(line.find(' ', 5) + 1, 1) + ':' +
                (picture.rfind("PictureNum", 0) == 0 ? picture.substr(10) : picture.substr(7));
    }
    return text;
}

// Windows since XP puts each new icon at the far end: the five read backwards unless ranked.
TEST(ScreenOrder, OnTheTraysOfTodayTheGuessAndEveryVerdictReadLeftToRight) {
    const struct {
        const char* guess;
        Layout layout;
        const char* verdict;
        const char* stepped;  // after a click on the leftmost digit and a right one on the last
    } kCases[] = {{"1534", Layout::Row, "@1S2B", "@2533"},
                  {"1134", Layout::Row, "@_NG_", "@2133"},
                  {"5139", Layout::Row, "@OK01", "@6138"},
                  {"1534", Layout::Column, "@1S2B", "@2533"}};  // vertical: top to bottom
    for (const auto& c : kCases) {
        Harness h;
        h.toolkit.placeIcons("54321", c.layout);
        h.start("5139");
        EXPECT_EQ(h.toolkit.screenPicture(), "@1234");
        EXPECT_EQ(requests(h, 0), "1:1 2:2 3:3 4:4 5:SW 4:1 3:2 2:3 1:4");  // added, then ranked
        h.toolkit.window().guess = c.guess;
        h.judge();
        EXPECT_EQ(h.toolkit.screenPicture(), c.verdict);
        h.judge();
        h.clickUp(4);
        h.clickDown(1);
        EXPECT_EQ(h.toolkit.screenPicture(), c.stepped);
        EXPECT_EQ("@" + std::string(h.guess()), c.stepped);
    }
}

// The player drags the first two digit icons past each other ("54321" to "53421") or the shell
// moves them: the next press puts what is on show onto the icons in their new order, then acts
// on the position the pressed icon now shows. Where the shell cannot tell, nothing moves. A new
// tray that lays the icons out its own way gets them back in reading order.
TEST(ScreenOrder, ThePressAfterADragShowsTheNewOrderThenActsOnWhatWasPressed) {
    const Event leftmost = Event::mouse(3, kLeftButtonDown);  // the first digit after the drag
    const std::string reranked = "3:1 4:2 2:3 1:4";
    const std::string verdict = "3:1 4:S 2:1 1:B ";
    const struct {
        bool verdict;  // 1S1B (guess 1234, answer 5139) on show when the icons move
        Event press;
        std::string requests;
        const char* screen;
        const char* moved = "53421";
        const char* overflow = "";
        std::int32_t failure = 0;
    } kCases[] = {
        {false, leftmost, reranked + " 3:2", "@2234"},
        {false, Event::mouse(2, kRightButtonDown), reranked + " 2:2", "@1224"},
        {true, leftmost, verdict + reranked, "@1234"},
        {true, kJudge, verdict + reranked, "@1234"},
        {true, Event::mouse(1, kRightButtonDoubleClick), "3:1 4:S 2:1 1:B", "@1S1B"},
        {true, Event::mouse(1, kLeftButtonUp), "", "@S11B"},  // not a press
        {true, Event::mouse(4, kMouseMove), "", "@S11B"},
        // Two digit icons in a closed overflow, or a failing shell: the ranking stays.
        {false, Event::mouse(4, kLeftButtonDown), "4:2", "@2234", "54321", "12"},
        {true, kJudge, "4:1 3:2 2:3 1:4", "@2134", "53421", "", std::int32_t(0x80004005)},
        {true, Event::taskbarCreated(), "1:B 2:1 3:S 4:1 5:SW 1:1 2:S 3:1 4:B", "1S1B@", "12345"},
    };
    for (const auto& c : kCases) {
        Harness h;
        h.toolkit.placeIcons("54321");
        h.start("5139");
        if (c.verdict)
            h.judge();
        h.toolkit.placeIcons(c.moved, Layout::Row, c.overflow, c.failure);
        const std::size_t mark = h.toolkit.mark();
        h.toolkit.onDoEvents(1, Event::mouse(5, kLeftButtonUp));  // a click, not a hold
        h.toolkit.deliver(c.press);
        EXPECT_EQ(requests(h, mark), c.requests) << c.press.name;
        EXPECT_EQ(h.toolkit.screenPicture(), c.screen) << c.press.name;
    }
}

// A stepping loop keeps its position when a press inside it ranks the icons anew.
TEST(ScreenOrder, AHoldKeepsItsPositionWhenAPressInsideRanksTheIcons) {
    Harness h;
    h.toolkit.placeIcons("54321");
    h.start("5139");
    h.script({{kInDoEvents, 2, {"drag", [&h](frmQuor6&) { h.toolkit.placeIcons("51234"); }}},
              {kInDoEvents, 2, Event::mouse(2, kRightButtonDoubleClick)},
              {kAtTime, 1400, Event::mouse(4, kRightButtonUp)}});
    h.mouse(4, kRightButtonDown);  // the first digit, held for two steps down
    EXPECT_EQ(h.toolkit.screenPicture() + std::string(h.guess()), "@92349234");
}

}  // namespace
}  // namespace quor6::fake
