// The digit icons ranked by where the shell shows them, and the guess read left to right there.
#include <gtest/gtest.h>

#include <string>

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

// Windows since XP puts each new icon at the far end ("54321"): the five read backwards unless
// ranked, so start-up adds them, then shows the guess in reading order; verdicts and steps
// follow that order, in a row or a column. After a drag ("54321" to "53421") or a move by the
// shell, the next press puts what is on show onto the icons in their new order, then acts on
// the position the pressed icon now shows. Where the shell cannot tell, nothing moves. A new
// tray that lays the icons out its own way gets them back in reading order.
TEST(ScreenOrder, TheGuessVerdictsAndStepsFollowWhereTheIconsStandAfterEveryDrag) {
    const Event leftmost = Event::mouse(3, kLeftButtonDown);  // the first digit after the drag
    const std::string reranked = "3:1 4:2 2:3 1:4";
    const std::string verdict = "3:1 4:S 2:1 1:B ";
    const struct {
        bool verdict;  // the guess judged (1S1B for 1234 against 5139) before the icons move
        Event press;
        std::string requests;
        const char* screen;  // and the guess
        const char* moved = "53421";
        const char* guess = "1234";
        Layout layout = Layout::Row;
        const char* overflow = "";
        std::int32_t failure = 0;
    } kCases[] = {
        {false, kJudge, "4:1 3:S 2:2 1:B", "@1S2B 1534", "54321", "1534"},
        {false, kJudge, "4:SP 3:N 2:G 1:SP", "@_NG_ 1134", "54321", "1134"},
        {false, kJudge, "4:O 3:K 2:0 1:1", "@OK01 5139", "54321", "5139"},
        {false, kJudge, "4:1 3:S 2:2 1:B", "@1S2B 1534", "54321", "1534",
         Layout::Column},  // top to bottom
        {false, Event::mouse(4, kLeftButtonDown), "4:2", "@2234 2234", "54321"},
        {false, Event::mouse(1, kRightButtonDown), "1:3", "@1233 1233", "54321", "1234",
         Layout::Column},
        {false, leftmost, reranked + " 3:2", "@2234 2234"},
        {false, Event::mouse(2, kRightButtonDown), reranked + " 2:2", "@1224 1224"},
        {true, leftmost, verdict + reranked, "@1234 1234"},
        {true, kJudge, verdict + reranked, "@1234 1234"},
        {true, Event::mouse(1, kRightButtonDoubleClick), "3:1 4:S 2:1 1:B", "@1S1B 1234"},
        {true, Event::mouse(1, kLeftButtonUp), "", "@S11B 1234"},  // not a press
        {true, Event::mouse(4, kMouseMove), "", "@S11B 1234"},
        // Two digit icons in a closed overflow, or a failing shell: the ranking stays.
        {false, Event::mouse(4, kLeftButtonDown), "4:2", "@2234 2234", "53421", "1234", Layout::Row,
         "12"},
        {true, kJudge, "4:1 3:2 2:3 1:4", "@2134 1234", "53421", "1234", Layout::Row, "",
         std::int32_t(0x80004005)},
        {true, Event::taskbarCreated(), "1:B 2:1 3:S 4:1 5:SW 1:1 2:S 3:1 4:B", "1S1B@ 1234",
         "12345"},
    };
    for (const auto& c : kCases) {
        Harness h;
        h.toolkit.placeIcons("54321", c.layout);
        h.start("5139");
        EXPECT_EQ(requests(h, 0) + " " + h.toolkit.screenPicture(),
                  "1:1 2:2 3:3 4:4 5:SW 4:1 3:2 2:3 1:4 @1234");  // added, then ranked
        h.toolkit.window().guess = c.guess;
        if (c.verdict)
            h.judge();
        h.toolkit.placeIcons(c.moved, c.layout, c.overflow, c.failure);
        const std::size_t mark = h.toolkit.mark();
        h.toolkit.onDoEvents(1, Event::mouse(5, kLeftButtonUp));  // a click, not a hold
        h.toolkit.deliver(c.press);
        EXPECT_EQ(requests(h, mark), c.requests) << c.press.name;
        EXPECT_EQ(h.toolkit.screenPicture() + " " + std::string(h.guess()), c.screen)
            << c.press.name;
    }
}

}  // namespace
}  // namespace quor6::fake
