// One order for the tray's messages: none overtakes one that still waits, wherever it waits.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "tests/unit/harness.h"

namespace quor6::fake {
namespace {

using testing::ElementsAre;

// A press held during start-up steps inside its replay; a judging there holds a press on
// another digit, whose release then arrives while that press still waits. The release goes
// behind it, so it ends both loops instead of leaving the first digit stepping by itself.
TEST(MessageOrder, AReleaseWaitsBehindTheHeldPressItEnds) {
    Harness h;
    h.script({{kInRequest, 1, Event::mouse(2, kLeftButtonDown)},  // while slot 1 is added
              {kInRequest, 6, Event::mouse(3, kLeftButtonDown)},  // the judging's first request
              {kInDoEvents, 1, kJudge},
              {kInDoEvents, 1, Event::mouse(3, kLeftButtonUp)}});
    h.start("5139");
    EXPECT_EQ(h.toolkit.trayPicture() + std::string(h.guess()) + std::to_string(h.toolkit.now()),
              "1334@1334700");
    EXPECT_EQ(h.state().SpinHold, kFalse);
}

// A right press and a right double-click on the sphere arrive while a verdict is shown: the
// double-click closes the menu before it opens, as it would have had they come just after.
TEST(MessageOrder, ADoubleClickWaitingBehindAMenuPressKeepsTheMenuShut) {
    Harness h;
    h.start("5139");
    h.toolkit.choosePopupCommand(MenuCommand::resetAnser);  // a menu that opened would reset
    h.script({{kInRequest, 1, Event::mouse(5, kRightButtonDown)},
              {kInRequest, 2, Event::mouse(5, kRightButtonDoubleClick)}});
    const std::size_t mark = h.toolkit.mark();
    h.judge();
    EXPECT_THAT(h.toolkit.trace({CallKind::PopupTrayMenu, CallKind::MessageBox}, mark),
                ElementsAre("messageBox 5139"));
    EXPECT_EQ(h.toolkit.trayPicture() + std::string(h.guess()), "1S1B@1234");
}

// A judging pressed while the icons are being put back waits for them: the picture read for
// slot 1 before its add is not put over the verdict.
TEST(MessageOrder, APressWhileTheIconsArePutBackWaitsForThem) {
    Harness h;
    h.start("5139");
    h.toolkit.window().guess = "9634";
    h.clickUp(1);  // 0634 on show
    h.toolkit.insideTrayRequest(1, kJudge);
    h.toolkit.deliver(Event::taskbarCreated(false));
    EXPECT_EQ(h.toolkit.trayPicture() + std::to_string(h.state().VerdictShown), "1S0B@-1");
}

// A judging that waits behind a right double-click (the icons were dragged, so the press puts
// them in order first) runs before the answer box opens, as the box's own loop would run it,
// and at once after a double-click on a digit icon, which does nothing itself.
TEST(MessageOrder, WhatWaitsRunsBeforeTheAnswerBoxAndAfterAPressThatDoesNothing) {
    for (const int slot : {5, 1}) {
        Harness h;
        h.toolkit.placeIcons("54321");
        h.start("5139");
        h.toolkit.placeIcons("53421");
        h.toolkit.insideTrayRequest(1, kJudge);
        const std::size_t mark = h.toolkit.mark();
        h.mouse(slot, kRightButtonDoubleClick);
        EXPECT_EQ(h.toolkit.trace({CallKind::ShellNotifyIcon, CallKind::MessageBox}, mark).back(),
                  slot == 5 ? "messageBox 5139" : "tray modify 1 PictureB");
    }
}

// Once quitting has begun nothing else runs: a press delivered inside the first delete
// neither shows a step nor pauses before the other four.
TEST(MessageOrder, NothingRunsOnceQuittingHasBegun) {
    Harness h;
    h.start();
    h.toolkit.insideTrayRequest(1, Event::mouse(2, kLeftButtonDown));
    const std::size_t mark = h.toolkit.mark();
    EXPECT_THROW(h.form.mnuEnd_Click(), ProcessEnded);
    EXPECT_EQ(
        h.toolkit.trace({CallKind::ShellNotifyIcon, CallKind::SleepMilliseconds}, mark).size(), 5u);
    EXPECT_EQ(std::string(h.guess()) + std::to_string(h.toolkit.now()), "12340");
}

}  // namespace
}  // namespace quor6::fake
