// Messages the shell sends while the program waits inside a tray request: the handler they
// start runs to completion in there, and the interrupted one carries on afterwards.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/unit/harness.h"

namespace quor6::fake {
namespace {

using testing::ElementsAre;

TEST(InsideTrayRequest, AReleaseDuringAStepsRequestEndsTheLoopAfterThePause) {
    Harness h;
    h.start();
    h.toolkit.insideTrayRequest(1, Event::mouse(2, kLeftButtonUp));
    const std::size_t mark = h.toolkit.mark();
    h.mouse(2, kLeftButtonDown);
    EXPECT_THAT(h.toolkit.trace({CallKind::ShellNotifyIcon, CallKind::Deliver,
                                 CallKind::SleepMilliseconds, CallKind::DoEvents},
                                mark),
                ElementsAre("deliver mouse 2 0x201", "doEvents", "tray modify 2 PictureNum3",
                            "deliver mouse 2 0x202", "sleep 700", "doEvents"));
    EXPECT_EQ(h.guess(), "1334");
}

TEST(InsideTrayRequest, AQuitDuringAVerdictLeavesNoRequestAfterTheDeletes) {
    Harness h;
    h.start("5139");
    h.toolkit.insideTrayRequest(2, Event::menu(MenuCommand::mnuEnd));
    const std::size_t mark = h.toolkit.mark();
    EXPECT_THROW(h.judge(), ProcessEnded);
    EXPECT_THAT(h.toolkit.trace({CallKind::ShellNotifyIcon, CallKind::EndProcess}, mark),
                ElementsAre("tray modify 1 PictureNum1", "tray modify 2 PictureS",
                            "tray delete 1 PictureNum1", "tray delete 2 PictureNum2",
                            "tray delete 3 PictureNum3", "tray delete 4 PictureNum4",
                            "tray delete 5 PictureSW", "endProcess"));
    EXPECT_EQ(h.toolkit.trayIconCount(), 0u);
}

TEST(InsideTrayRequest, AQuitDuringStartUpRemovesWhatIsThereAndEnds) {
    Harness h;
    h.random.queueSecret("5139");
    h.toolkit.insideTrayRequest(3, Event::windowClose());
    EXPECT_THROW(h.form.Form_Load(), ProcessEnded);
    const std::vector<TrayRequest> requests = h.toolkit.trayRequests();
    ASSERT_EQ(requests.size(), 8u);
    EXPECT_EQ(requests[2].describe(), "add 3 PictureNum3");
    for (std::size_t i = 3; i < 8; ++i)
        EXPECT_EQ(requests[i].request, kNimDelete);
    EXPECT_FALSE(requests[6].accepted);  // slots 4 and 5 were never added
    EXPECT_FALSE(requests[7].accepted);
    EXPECT_EQ(h.toolkit.trayIconCount(), 0u);
    EXPECT_EQ(h.random.reseedCount(), 0);  // start-up never got to the puzzle
}

TEST(InsideTrayRequest, ANewTrayDuringAStepGetsTheSteppedGuess) {
    Harness h;
    h.start();
    h.toolkit.insideTrayRequest(1, Event::taskbarCreated());
    h.toolkit.onDoEvents(2, Event::mouse(2, kLeftButtonUp));
    h.mouse(2, kLeftButtonDown);
    EXPECT_EQ(h.toolkit.trayPicture(), "1334@");
    EXPECT_EQ(h.toolkit.trayIconCount(), 5u);
}

TEST(InsideTrayRequest, AJudgingDuringAStepShowsTheVerdictUntilTheNextPass) {
    Harness h;
    h.start("5139");
    h.toolkit.insideTrayRequest(1, Event::mouse(5, kLeftButtonDown));
    h.toolkit.onDoEvents(2, Event::mouse(2, kLeftButtonUp));
    h.mouse(2, kLeftButtonDown);
    // The judging came after the step's own image, so all four slots show NG (1334).
    EXPECT_EQ(h.toolkit.trayPicture(), "_NG_@");
    EXPECT_EQ(h.state().VerdictShown, kTrue);
}

TEST(InsideTrayRequest, AStepInsideAVerdictIsOverwrittenByTheRestOfTheVerdict) {
    Harness h;
    h.start("5139");
    h.toolkit.insideTrayRequest(1, Event::mouse(4, kLeftButtonDown));
    h.toolkit.onDoEvents(1, Event::mouse(4, kLeftButtonUp));
    h.judge();
    // 1234 was judged (1S 1B) before the digit stepped to 1235 inside the first request.
    EXPECT_EQ(h.guess(), "1235");
    EXPECT_EQ(h.toolkit.trayPicture(), "1S1B@");
    EXPECT_EQ(h.state().VerdictShown, kTrue);
    EXPECT_EQ(h.state().SpinHold, kFalse);
    EXPECT_EQ(h.toolkit.maxDeliveryDepth(), 3);
}

}  // namespace
}  // namespace quor6::fake
