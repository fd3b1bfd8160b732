// Messages the shell sends while the program waits inside a tray request: the handler they
// start runs to completion in there, and the interrupted one carries on afterwards.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

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

// Everything a player can see or that decides the next press.
std::string snapshot(const Harness& h) {
    const PuzzleState& state = h.state();
    std::string shown =
        h.toolkit.trayPicture() + " guess " + std::string(h.guess()) + " count " +
        std::to_string(state.GuessCount) + " verdict " + std::to_string(state.VerdictShown) +
        " hold " + std::to_string(state.SpinHold) + " secret " + state.SecretNumber + " history";
    for (const std::string& line : h.toolkit.window().rirekiList)
        shown += " [" + line + "]";
    for (const HistoryEntry& entry : h.toolkit.window().historyEntries)
        shown += entry.visible ? " +" + entry.caption : " -";
    return shown;
}

struct PressInside {
    const char* name;
    const char* secret;  // the answer of the puzzle that is played
    int steps;           // digit 4 is stepped this often first (down where negative)
    bool newPuzzle;      // the handler is the new puzzle command, else the judging
};

// What arrives while the handler runs: a judge press, a digit tapped, the answer asked for.
const std::vector<std::vector<Event>> kSecondPresses = {
    {Event::mouse(5, kLeftButtonDown)},
    {Event::mouse(3, kLeftButtonDown), Event::mouse(3, kLeftButtonUp)},
    {Event::mouse(5, kRightButtonDoubleClick)},
};

void PrintTo(const PressInside& c, std::ostream* out) {
    *out << c.name;
}

class PressInsideAHandler : public testing::TestWithParam<PressInside> {
  protected:
    // Plays the case; `inside` is the tray request of the handler during which `presses`
    // arrive, or 0 for presses that come after the handler.
    static std::string play(const PressInside& c, const std::vector<Event>& presses, int inside) {
        Harness h;
        h.start(c.secret);
        for (int i = 0; i < c.steps; ++i)
            h.clickUp(4);
        for (int i = 0; i > c.steps; --i)
            h.clickDown(4);
        h.random.queueSecret("2468");
        if (inside > 0) {
            for (const Event& press : presses)
                h.toolkit.insideTrayRequest(inside, press);
        }
        if (c.newPuzzle)
            h.form.resetAnser_Click();
        else
            h.judge();
        if (inside == 0) {
            for (const Event& press : presses)
                h.toolkit.onDoEvents(1, press);
            h.toolkit.doEvents();
        }
        EXPECT_FALSE(h.toolkit.hasScheduledEvents());
        return snapshot(h);
    }
};

// The presses wait for the handler and then act exactly as if they had come after it: the
// same guess is never judged twice, and no verdict stays on show with its flag cleared.
TEST_P(PressInsideAHandler, ActsAsIfItCameJustAfter) {
    const PressInside& c = GetParam();
    for (const std::vector<Event>& presses : kSecondPresses) {
        const std::string oneAfterTheOther = play(c, presses, 0);
        for (int inside = 1; inside <= 4; ++inside)
            EXPECT_EQ(play(c, presses, inside), oneAfterTheOther)
                << presses.front().describe() << " inside request " << inside;
    }
}

INSTANTIATE_TEST_SUITE_P(Handlers, PressInsideAHandler,
                         testing::Values(PressInside{"Scored", "5139", 0, false},
                                         PressInside{"Rejected", "5139", -1, false},  // 1233
                                         PressInside{"Solved", "1236", 2, false},
                                         PressInside{"NewPuzzle", "5139", 0, true}),
                         [](const testing::TestParamInfo<PressInside>& c) {
                             return std::string(c.param.name);
                         });

}  // namespace
}  // namespace quor6::fake
