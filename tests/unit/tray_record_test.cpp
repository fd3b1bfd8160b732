// The tray request record as the shell receives it, the centring of the window before every
// request, and the requests of start-up and shutdown.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "tests/unit/harness.h"

namespace quor6::fake {
namespace {

using testing::ElementsAre;

// A run that makes every kind of request: start-up, a step, a verdict, a new puzzle, a quit.
std::vector<TrayRequest> requestsOfAShortGame() {
    Harness h;
    h.start();
    h.clickUp(3);
    h.judge();
    h.random.queueSecret("1234");
    h.form.resetAnser_Click();
    EXPECT_THROW(h.form.mnuEnd_Click(), ProcessEnded);
    return h.toolkit.trayRequests();
}

TEST(TrayRecord, EveryRequestCarriesTheFullRecord) {
    const std::vector<TrayRequest> requests = requestsOfAShortGame();
    ASSERT_EQ(requests.size(), 5u + 1 + 4 + 4 + 5);
    for (const TrayRequest& request : requests) {
        SCOPED_TRACE(request.describe());
        EXPECT_EQ(request.cbSize(), 89u);
        EXPECT_EQ(request.uFlags(), 7u);
        EXPECT_EQ(request.uCallbackMessage(), 0x200u);
        EXPECT_TRUE(request.tipIsZero());
        EXPECT_GE(request.uID(), 1u);
        EXPECT_LE(request.uID(), 5u);
        EXPECT_EQ(request.hWnd(), fakeTextBoxHandle(static_cast<int>(request.uID())));
        EXPECT_TRUE(request.image.has_value());
        EXPECT_TRUE(request.accepted);
    }
}

TEST(TrayRecord, LaysOutTheBytesAtTheirOffsets) {
    Harness h;
    h.start();
    const TrayRequest first = h.toolkit.trayRequests().at(0);
    const Handle32 host = fakeTextBoxHandle(1);
    const Handle32 icon = fakeIconHandle(IconHolder::PictureNum1);
    std::array<std::uint8_t, 89> expected{};
    const std::array<std::uint32_t, 6> fields = {89, host, 1, 7, 0x200, icon};
    for (std::size_t f = 0; f < fields.size(); ++f) {
        for (std::size_t b = 0; b < 4; ++b) {
            expected[4 * f + b] = static_cast<std::uint8_t>(fields[f] >> (8 * b));
        }
    }
    EXPECT_EQ(first.request, kNimAdd);
    EXPECT_EQ(first.bytes, expected);
}

TEST(TrayRecord, TheWindowKeepsTheLastRequestInItsOneRecord) {
    Harness h;
    h.start();
    h.clickDown(4);
    const NotifyIconRecord& record = h.form.trayRecord();
    EXPECT_EQ(record.uID, 4u);
    EXPECT_EQ(record.hWnd, fakeTextBoxHandle(4));
    EXPECT_EQ(record.hIcon, fakeIconHandle(IconHolder::PictureNum3));
}

TEST(TrayStartUp, AddsSlotsOneToFiveWithDigitsOneToFourAndTheSphere) {
    Harness h;
    h.start();
    EXPECT_THAT(
        h.toolkit.trace({CallKind::ShellNotifyIcon}),
        ElementsAre("tray add 1 PictureNum1", "tray add 2 PictureNum2", "tray add 3 PictureNum3",
                    "tray add 4 PictureNum4", "tray add 5 PictureSW"));
    EXPECT_EQ(h.toolkit.trayPicture(), "1234@");
    EXPECT_EQ(h.toolkit.trayIconCount(), 5u);
}

TEST(TrayShutdown, DeletesSlotsOneToFiveWithTheirStartImagesWhateverTheyShow) {
    Harness h;
    h.start();
    h.judge();  // the slots now show a verdict
    const std::size_t mark = h.toolkit.mark();
    EXPECT_THROW(h.form.mnuEnd_Click(), ProcessEnded);
    EXPECT_THAT(h.toolkit.trace({CallKind::ShellNotifyIcon}, mark),
                ElementsAre("tray delete 1 PictureNum1", "tray delete 2 PictureNum2",
                            "tray delete 3 PictureNum3", "tray delete 4 PictureNum4",
                            "tray delete 5 PictureSW"));
    EXPECT_EQ(h.toolkit.trayIconCount(), 0u);
}

TEST(TrayCentring, CentresTheFormVerticalFirstBeforeEveryRequest) {
    Harness h;
    h.start();
    const std::size_t mark = h.toolkit.mark();
    h.clickUp(1);
    h.judge();
    const std::vector<std::string> trace =
        h.toolkit.trace({CallKind::FormHeight, CallKind::ScreenHeight, CallKind::SetFormTop,
                         CallKind::FormWidth, CallKind::ScreenWidth, CallKind::SetFormLeft,
                         CallKind::ShellNotifyIcon, CallKind::FormLeft, CallKind::FormTop},
                        mark);
    ASSERT_EQ(trace.size(), 5u * 7);
    for (std::size_t i = 0; i < trace.size(); i += 7) {
        EXPECT_EQ(trace[i], "formHeight");
        EXPECT_EQ(trace[i + 1], "screenHeight");
        EXPECT_EQ(trace[i + 2].rfind("setFormTop", 0), 0u) << trace[i + 2];
        EXPECT_EQ(trace[i + 3], "formWidth");
        EXPECT_EQ(trace[i + 4], "screenWidth");
        EXPECT_EQ(trace[i + 5].rfind("setFormLeft", 0), 0u) << trace[i + 5];
        EXPECT_EQ(trace[i + 6].rfind("tray ", 0), 0u) << trace[i + 6];
    }
}

TEST(TrayCentring, TakesTheHalvesInFloatingPoint) {
    Harness h;
    h.toolkit.window().height = 3391;  // odd sizes: integer halves would lose the .5
    h.toolkit.window().width = 4951;
    h.toolkit.window().screenHeight = 11520;
    h.toolkit.window().screenWidth = 15360;
    h.start();
    EXPECT_DOUBLE_EQ(h.toolkit.window().top, 5760.0 - 1695.5);
    EXPECT_DOUBLE_EQ(h.toolkit.window().left, 7680.0 - 2475.5);
}

TEST(TrayCentring, BringsAMovedWindowBackAtTheNextDigitStep) {
    Harness h;
    h.start();
    h.form.mnuAbout_Click();
    h.toolkit.window().left = 100;  // the player drags the version box away
    h.toolkit.window().top = 200;
    h.clickUp(2);
    EXPECT_DOUBLE_EQ(h.toolkit.window().top, (11520.0 - 3405.0) / 2);
    EXPECT_DOUBLE_EQ(h.toolkit.window().left, (15360.0 - 4950.0) / 2);
    EXPECT_TRUE(h.toolkit.window().visible);
}

}  // namespace
}  // namespace quor6::fake
