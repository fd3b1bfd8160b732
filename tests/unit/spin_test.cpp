// The stepping loop on the virtual clock: exact requests, pauses and message handling of a
// click, a hold, releases, presses and quits that arrive between the steps.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/unit/harness.h"

namespace quor6::fake {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;

// What followed the press taken at `mark` (its own delivery is the call at `mark`).
std::vector<std::string> loopTrace(const Harness& h, std::size_t mark) {
    return h.toolkit.trace(
        {CallKind::SetGuessText, CallKind::DoEvents, CallKind::Deliver, CallKind::ShellNotifyIcon,
         CallKind::SleepMilliseconds, CallKind::EndProcess},
        mark + 1);
}

TEST(SpinClick, StepsOnceAndReturnsAfterOnePause) {
    Harness h;
    h.start();
    const std::size_t mark = h.toolkit.mark();
    h.clickUp(2);
    EXPECT_THAT(loopTrace(h, mark),
                ElementsAre("setGuessText 1334", "doEvents", "deliver mouse 2 0x202",
                            "tray modify 2 PictureNum3", "sleep 700", "doEvents"));
    EXPECT_EQ(h.guess(), "1334");
    EXPECT_EQ(h.toolkit.trayPicture(), "1334@");
    EXPECT_EQ(h.toolkit.now(), 700u);
    EXPECT_EQ(h.state().SpinHold, kFalse);
}

TEST(SpinClick, AReleaseAfterThePauseStillGivesOneStep) {
    Harness h;
    h.start();
    h.toolkit.onDoEvents(2, Event::mouse(3, kLeftButtonUp));
    const std::size_t mark = h.toolkit.mark();
    h.mouse(3, kLeftButtonDown);
    EXPECT_THAT(loopTrace(h, mark),
                ElementsAre("setGuessText 1244", "doEvents", "tray modify 3 PictureNum4",
                            "sleep 700", "doEvents", "deliver mouse 3 0x202"));
    EXPECT_EQ(h.toolkit.now(), 700u);
}

TEST(SpinHold, StepsEverySevenHundredMillisecondsUntilTheRelease) {
    Harness h;
    h.start();
    h.toolkit.atTime(1500, Event::mouse(2, kLeftButtonUp));  // held for about 1.5 seconds
    const std::size_t mark = h.toolkit.mark();
    h.mouse(2, kLeftButtonDown);
    EXPECT_THAT(loopTrace(h, mark),
                ElementsAre("setGuessText 1334", "doEvents", "tray modify 2 PictureNum3",
                            "sleep 700", "doEvents",  //
                            "setGuessText 1434", "doEvents", "tray modify 2 PictureNum4",
                            "sleep 700", "doEvents",  //
                            "setGuessText 1534", "doEvents", "tray modify 2 PictureNum5",
                            "sleep 700", "doEvents", "deliver mouse 2 0x202"));
    EXPECT_EQ(h.guess(), "1534");
    EXPECT_EQ(h.toolkit.now(), 2100u);
    // Each step goes out at its own moment: 0, 700 and 1400 ms after the press.
    std::vector<std::uint64_t> stepTimes;
    for (std::size_t i = mark; i < h.toolkit.calls().size(); ++i) {
        if (h.toolkit.calls()[i].kind == CallKind::ShellNotifyIcon) {
            stepTimes.push_back(h.toolkit.calls()[i].atMilliseconds);
        }
    }
    EXPECT_THAT(stepTimes, ElementsAre(0u, 700u, 1400u));
}

TEST(SpinWrap, NineStepsUpToZeroAndZeroStepsDownToNine) {
    Harness h;
    h.start();
    h.toolkit.window().guess = "1934";
    h.clickUp(2);
    EXPECT_EQ(h.guess(), "1034");
    EXPECT_EQ(h.toolkit.trayIcon(2)->image, IconHolder::PictureNum0);

    h.toolkit.window().guess = "1230";
    h.clickDown(4);
    EXPECT_EQ(h.guess(), "1239");
    EXPECT_EQ(h.toolkit.trayIcon(4)->image, IconHolder::PictureNum9);
}

TEST(SpinWrap, EverySlotStepsOnlyItsOwnDigitBothWays) {
    for (int slot = 1; slot <= 4; ++slot) {
        SCOPED_TRACE(slot);
        Harness h;
        h.start();
        h.toolkit.window().guess = "5555";
        h.clickUp(slot);
        std::string up = "5555";
        up[static_cast<std::size_t>(slot - 1)] = '6';
        EXPECT_EQ(h.guess(), up);
        h.clickDown(slot);
        h.clickDown(slot);
        std::string down = "5555";
        down[static_cast<std::size_t>(slot - 1)] = '4';
        EXPECT_EQ(h.guess(), down);
        EXPECT_EQ(h.toolkit.trayIcon(slot)->image, IconHolder::PictureNum4);
        EXPECT_EQ(h.toolkit.trayIconCount(), 5u);
    }
}

TEST(SpinAfterVerdict, APressOnlyRestoresTheGuessAndTheNextOneSteps) {
    Harness h;
    h.start("5139");
    h.judge();
    ASSERT_EQ(h.toolkit.trayPicture(), "1S1B@");
    const std::size_t mark = h.toolkit.mark();
    h.toolkit.onDoEvents(1, Event::mouse(3, kLeftButtonUp));
    h.mouse(3, kLeftButtonDown);
    EXPECT_THAT(loopTrace(h, mark),
                ElementsAre("tray modify 1 PictureNum1", "tray modify 2 PictureNum2",
                            "tray modify 3 PictureNum3", "tray modify 4 PictureNum4"));
    EXPECT_EQ(h.state().VerdictShown, kFalse);
    EXPECT_EQ(h.guess(), "1234");
    EXPECT_EQ(h.toolkit.now(), 0u);

    // The release is still waiting; it arrives in the next press's first doEvents.
    h.mouse(3, kLeftButtonDown);
    EXPECT_EQ(h.guess(), "1244");
}

TEST(SpinJudgeDuringStep, TheStepIsShownOverTheVerdictThenTheGuessComesBack) {
    Harness h;
    h.start("5139");
    h.toolkit.onDoEvents(1, Event::mouse(5, kLeftButtonDown));
    h.toolkit.onDoEvents(3, Event::mouse(2, kLeftButtonUp));
    const std::size_t mark = h.toolkit.mark();
    h.mouse(2, kLeftButtonDown);
    // 1334 repeats a digit: NG; the pass ends with its own digit; the next pass restores.
    EXPECT_THAT(
        loopTrace(h, mark),
        ElementsAre("setGuessText 1334", "doEvents", "deliver mouse 5 0x201",
                    "tray modify 1 PictureSP", "tray modify 2 PictureN", "tray modify 3 PictureG",
                    "tray modify 4 PictureSP", "tray modify 2 PictureNum3", "sleep 700", "doEvents",
                    "tray modify 1 PictureNum1", "tray modify 2 PictureNum3",
                    "tray modify 3 PictureNum3", "tray modify 4 PictureNum4"));
    EXPECT_EQ(h.state().VerdictShown, kFalse);
    EXPECT_EQ(h.state().SpinHold, -1);  // true, all bits set: the release has not come yet
    EXPECT_EQ(h.toolkit.trayPicture(), "1334@");
}

TEST(SpinJudgeDuringStep, WithTheReleaseTooTheVerdictStaysButForTheSteppedSlot) {
    Harness h;
    h.start("5139");
    h.toolkit.onDoEvents(1, Event::mouse(5, kLeftButtonDown));
    h.toolkit.onDoEvents(1, Event::mouse(5, kLeftButtonUp));
    h.mouse(2, kLeftButtonDown);
    EXPECT_EQ(h.toolkit.trayPicture(), "_3G_@");
    EXPECT_EQ(h.state().VerdictShown, kTrue);
    EXPECT_EQ(h.state().SpinHold, kFalse);
}

TEST(SpinNested, APressDuringAStepRunsItsOwnLoopInsideAndTheOuterPassFinishes) {
    Harness h;
    h.start();
    h.toolkit.onDoEvents(1, Event::mouse(3, kLeftButtonDown));
    h.toolkit.onDoEvents(3, Event::mouse(3, kLeftButtonUp));
    const std::size_t mark = h.toolkit.mark();
    h.mouse(2, kLeftButtonDown);
    EXPECT_THAT(
        loopTrace(h, mark),
        ElementsAre("setGuessText 1334", "doEvents", "deliver mouse 3 0x201", "setGuessText 1344",
                    "doEvents", "tray modify 3 PictureNum4", "sleep 700", "doEvents",
                    "deliver mouse 3 0x202", "tray modify 2 PictureNum3", "sleep 700", "doEvents"));
    EXPECT_EQ(h.guess(), "1344");
    EXPECT_EQ(h.toolkit.now(), 1400u);
    EXPECT_EQ(h.toolkit.maxDeliveryDepth(), 3);
}

TEST(SpinNested, AnInnerLoopThatEndsByRestoringLeavesTheOuterLoopStepping) {
    Harness h;
    h.start("5139");
    // Inside the outer loop on slot 2 a press on slot 3 starts an inner loop; a judging in
    // there shows NG, so the inner loop restores the guess and returns with the button still
    // held, and the outer loop goes on stepping until the release.
    h.toolkit.onDoEvents(1, Event::mouse(3, kLeftButtonDown));
    h.toolkit.onDoEvents(2, Event::mouse(5, kLeftButtonDown));
    h.toolkit.onDoEvents(5, Event::mouse(2, kLeftButtonUp));
    const std::size_t mark = h.toolkit.mark();
    h.mouse(2, kLeftButtonDown);
    EXPECT_THAT(
        loopTrace(h, mark),
        ElementsAre(
            "setGuessText 1334", "doEvents", "deliver mouse 3 0x201", "setGuessText 1344",
            "doEvents", "deliver mouse 5 0x201", "tray modify 1 PictureSP",
            "tray modify 2 PictureN", "tray modify 3 PictureG", "tray modify 4 PictureSP",
            "tray modify 3 PictureNum4", "sleep 700", "doEvents", "tray modify 1 PictureNum1",
            "tray modify 2 PictureNum3", "tray modify 3 PictureNum4", "tray modify 4 PictureNum4",
            "tray modify 2 PictureNum3", "sleep 700", "doEvents", "setGuessText 1444", "doEvents",
            "deliver mouse 2 0x202", "tray modify 2 PictureNum4", "sleep 700", "doEvents"));
    EXPECT_EQ(h.guess(), "1444");
    EXPECT_EQ(h.toolkit.trayPicture(), "1444@");
    EXPECT_EQ(h.toolkit.now(), 2100u);
}

TEST(SpinRelease, AReleaseOnAnyIconEndsTheLoopButPointerMovementDoesNot) {
    for (const auto& [slot, message] : std::vector<std::pair<int, std::uint32_t>>{
             {5, kLeftButtonUp}, {1, kRightButtonUp}, {4, kLeftButtonUp}}) {
        Harness h;
        h.start();
        h.toolkit.onDoEvents(1, Event::mouse(2, kMouseMove));
        h.toolkit.onDoEvents(1, Event::mouse(3, kLeftButtonDoubleClick));
        h.toolkit.onDoEvents(2, Event::mouse(slot, message));
        h.mouse(2, kLeftButtonDown);
        EXPECT_EQ(h.guess(), "1334") << slot;
        EXPECT_EQ(h.toolkit.now(), 700u) << slot;
    }
}

TEST(SpinRelease, WithoutAReleaseTheDigitKeepsStepping) {
    Harness h;
    h.start();
    // The button went up away from the icons; only a later release on slot 1 ends it.
    h.toolkit.atTime(9 * 700, Event::mouse(1, kLeftButtonUp));
    const std::size_t mark = h.toolkit.mark();
    h.mouse(2, kLeftButtonDown);
    EXPECT_EQ(h.toolkit.trace({CallKind::ShellNotifyIcon}, mark).size(), 9u);
    EXPECT_EQ(h.guess(), "1134");  // 2 stepped nine times, through 9 and 0
    EXPECT_EQ(h.toolkit.now(), 9u * 700);
}

TEST(SpinNewPuzzle, TheNextPassStepsFromTheNewGuess) {
    Harness h;
    h.start();
    h.toolkit.window().guess = "9876";
    h.random.queueSecret("5139");
    h.toolkit.onDoEvents(1, Event::menu(MenuCommand::resetAnser));
    h.toolkit.atTime(1400, Event::mouse(1, kLeftButtonUp));
    const std::size_t mark = h.toolkit.mark();
    h.mouse(1, kLeftButtonDown);
    EXPECT_THAT(h.toolkit.trace({CallKind::SetGuessText, CallKind::ShellNotifyIcon}, mark),
                ElementsAre("setGuessText 0876", "setGuessText 1234", "tray modify 1 PictureNum1",
                            "tray modify 2 PictureNum2", "tray modify 3 PictureNum3",
                            "tray modify 4 PictureNum4",
                            "tray modify 1 PictureNum0",  // the first pass's own digit
                            "setGuessText 2234", "tray modify 1 PictureNum2"));
    EXPECT_EQ(h.guess(), "2234");
}

struct QuitInLoop {
    const char* name;
    int atDoEvents;  // 1: in step 5, before the icon changes; 2: in step 8, after the pause
    std::function<void(Harness&, int)> script;
};

class SpinQuit : public testing::TestWithParam<QuitInLoop> {};

TEST_P(SpinQuit, EndsWithTheFiveDeletesAndNoRequestAfterThem) {
    Harness h;
    h.start();
    GetParam().script(h, GetParam().atDoEvents);
    const std::size_t mark = h.toolkit.mark();
    EXPECT_THROW(h.mouse(2, kLeftButtonDown), ProcessEnded);
    const std::vector<std::string> requests = h.toolkit.trace({CallKind::ShellNotifyIcon}, mark);
    const std::vector<std::string> deletes = {
        "tray delete 1 PictureNum1", "tray delete 2 PictureNum2", "tray delete 3 PictureNum3",
        "tray delete 4 PictureNum4", "tray delete 5 PictureSW"};
    ASSERT_GE(requests.size(), deletes.size());
    EXPECT_EQ(std::vector<std::string>(requests.end() - 5, requests.end()), deletes);
    // Quitting in step 5 comes before the step is shown: no modify at all.
    EXPECT_EQ(requests.size(), GetParam().atDoEvents == 1 ? 5u : 6u);
    EXPECT_EQ(h.toolkit.calls().back().kind, CallKind::EndProcess);
    EXPECT_EQ(h.toolkit.trayIconCount(), 0u);
    EXPECT_EQ(h.toolkit.callsAfterEnd(), 0);
}

const auto quitByMenu = [](Harness& h, int at) {
    h.toolkit.onDoEvents(at, Event::menu(MenuCommand::mnuEnd));
};
const auto quitByTrayMenu = [](Harness& h, int at) {
    h.toolkit.choosePopupCommand(MenuCommand::mnuEnd);
    h.toolkit.onDoEvents(at, Event::mouse(5, kRightButtonDown));
};
const auto quitByClose = [](Harness& h, int at) { h.toolkit.onDoEvents(at, Event::windowClose()); };
const auto quitByButton = [](Harness& h, int at) { h.toolkit.onDoEvents(at, Event::quitButton()); };

INSTANTIATE_TEST_SUITE_P(Ways, SpinQuit,
                         testing::Values(QuitInLoop{"mnuEndBeforeTheStep", 1, quitByMenu},
                                         QuitInLoop{"mnuEndAfterThePause", 2, quitByMenu},
                                         QuitInLoop{"trayMenuBeforeTheStep", 1, quitByTrayMenu},
                                         QuitInLoop{"trayMenuAfterThePause", 2, quitByTrayMenu},
                                         QuitInLoop{"closeBeforeTheStep", 1, quitByClose},
                                         QuitInLoop{"closeAfterThePause", 2, quitByClose},
                                         QuitInLoop{"quitButtonAfterThePause", 2, quitByButton}),
                         [](const testing::TestParamInfo<QuitInLoop>& way) {
                             return std::string(way.param.name);
                         });

TEST(SpinQuitNested, AQuitInAnInnerLoopEndsTheOuterOneToo) {
    Harness h;
    h.start();
    h.toolkit.onDoEvents(1, Event::mouse(3, kLeftButtonDown));
    h.toolkit.onDoEvents(3, Event::menu(MenuCommand::mnuEnd));
    const std::size_t mark = h.toolkit.mark();
    EXPECT_THROW(h.mouse(2, kLeftButtonDown), ProcessEnded);
    EXPECT_THAT(h.toolkit.trace({CallKind::ShellNotifyIcon}, mark),
                ElementsAre("tray modify 3 PictureNum4", "tray delete 1 PictureNum1",
                            "tray delete 2 PictureNum2", "tray delete 3 PictureNum3",
                            "tray delete 4 PictureNum4", "tray delete 5 PictureSW"));
}

TEST(SpinDoubleClick, ADoubleClickMessageOnADigitIconDoesNotStep) {
    Harness h;
    h.start();
    const std::size_t mark = h.toolkit.mark();
    h.mouse(2, kLeftButtonDoubleClick);
    h.mouse(2, kRightButtonDoubleClick);
    EXPECT_THAT(h.toolkit.traceAll(mark),
                ElementsAre("deliver mouse 2 0x203", "deliver mouse 2 0x206"));
    EXPECT_EQ(h.guess(), "1234");
}

}  // namespace
}  // namespace quor6::fake
