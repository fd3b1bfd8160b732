// The stepping loop on the virtual clock, what arrives inside it, and presses inside handlers.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/unit/harness.h"
#include "tray/digit_spinner.h"

namespace quor6::fake {
namespace {

using testing::ElementsAre;

TEST(Spin, AHoldStepsEverySevenHundredMillisecondsUntilTheRelease) {
    Harness h;
    h.start();
    h.toolkit.atTime(1500, Event::mouse(2, kLeftButtonUp));
    const std::size_t mark = h.toolkit.mark();
    h.mouse(2, kLeftButtonDown);
    EXPECT_THAT(h.toolkit.trace({CallKind::SetGuessText, CallKind::DoEvents, CallKind::Deliver,
                                 CallKind::ShellNotifyIcon, CallKind::SleepMilliseconds},
                                mark + 1),  // after the press's own delivery
                ElementsAre("setGuessText 1334", "doEvents", "tray modify 2 PictureNum3",
                            "sleep 700", "doEvents",  //
                            "setGuessText 1434", "doEvents", "tray modify 2 PictureNum4",
                            "sleep 700", "doEvents",  //
                            "setGuessText 1534", "doEvents", "tray modify 2 PictureNum5",
                            "sleep 700", "doEvents", "deliver mouse 2 0x202"));
}

// Slots 1..4 hold the digits: another position steps nothing and shows nothing.
TEST(Spin, OnlyPositionsOneToFourHaveADigitToStep) {
    IgnoredMessages sink;
    for (const int position : {0, 5}) {
        Harness h;
        h.start();
        PuzzleState state = h.state();
        state.SpinHold = kTrue;
        h.toolkit.onDoEvents(1, Event{"release", [&state](frmQuor6&) { state.SpinHold = kFalse; }});
        HeldMessages held(sink);
        TraySlots tray(h.toolkit, held);
        const std::size_t mark = h.toolkit.mark();
        spinDigit(SpinDirection::Up, position, state, tray, h.toolkit, held);
        EXPECT_EQ(h.toolkit.trace({CallKind::SetGuessText, CallKind::ShellNotifyIcon}, mark).size(),
                  0u)
            << position;
    }
}

const Event kRelease = Event::mouse(2, kLeftButtonUp);

// Slot 2 of 1234 (answer 5139) is held: the tray, the virtual time, and the flags left set.
TEST(Spin, WhatArrivesDuringAHoldIsHandledInsideIt) {
    const struct {
        std::vector<Arrival> arrivals;
        const char* expected;
    } kCases[] = {
        {{{kInDoEvents, 2, kRelease}}, "1334@ 700"},  // a release after the pause
        {{{kAtTime, 6300, Event::mouse(1, kLeftButtonUp)}}, "1134@ 6300"},  // 9 steps, 9 to 0
        // A judging shows NG over 1334; the next pass restores the guess and leaves the hold.
        {{{kInDoEvents, 1, kJudge}, {kInDoEvents, 3, kRelease}}, "1334@ 700 held"},
        // With the release too the verdict stays, but for the stepped slot.
        {{{kInDoEvents, 1, kJudge}, {kInDoEvents, 1, kRelease}}, "_3G_@ 700 verdict"},
        // Presses on slot 3 run a loop of their own inside; the outer pass then finishes.
        {{{kInDoEvents, 1, Event::mouse(3, kLeftButtonDown)},
          {kInDoEvents, 3, Event::mouse(3, kLeftButtonUp)}},
         "1344@ 1400"},
        // The inner loop ends by restoring after a judging; the outer one steps on.
        {{{kInDoEvents, 1, Event::mouse(3, kLeftButtonDown)},
          {kInDoEvents, 2, kJudge},
          {kInDoEvents, 5, kRelease}},
         "1444@ 2100"},
        // A new puzzle: the next pass steps from the new guess.
        {{{kInDoEvents, 1, Event::menu(MenuCommand::resetAnser)}, {kAtTime, 1400, kRelease}},
         "1334@ 1400"},
        // Inside the step's tray request: the release, a new tray, a judging.
        {{{kInRequest, 1, kRelease}}, "1334@ 700"},
        {{{kInRequest, 1, Event::taskbarCreated()}, {kInDoEvents, 2, kRelease}}, "1334@ 700"},
        {{{kInRequest, 1, kJudge}, {kInDoEvents, 2, kRelease}}, "_NG_@ 700 verdict"},
        // A press there waits out the pause: its own steps come 700 ms later.
        {{{kInRequest, 1, Event::mouse(3, kLeftButtonDown)}, {kAtTime, 1400, kRelease}},
         "1344@ 1400"},
    };
    for (const auto& c : kCases) {
        Harness h;
        h.start("5139");
        h.random.queueSecret("2468");
        h.script(c.arrivals);
        h.mouse(2, kLeftButtonDown);
        const std::string seen = h.toolkit.trayPicture() + " " + std::to_string(h.toolkit.now()) +
                                 (h.state().VerdictShown == kTrue ? " verdict" : "") +
                                 (h.state().SpinHold == kTrue ? " held" : "");
        EXPECT_EQ(seen, c.expected) << c.arrivals.front().event.describe();
    }
}

// Presses inside a judging or a new puzzle (in any of its tray requests) wait for it, then act as
// if they had come just after it: no guess judged twice, no verdict shown with its flag cleared.
TEST(Spin, PressesInsideAHandlerActAsIfTheyCameJustAfter) {
    const std::vector<std::vector<Event>> kPresses = {
        {kJudge},
        {Event::mouse(3, kLeftButtonDown), Event::mouse(3, kLeftButtonUp)},
        {Event::mouse(5, kRightButtonDoubleClick)}};
    // Answer and the guess: scored, rejected, solved; the last runs a new puzzle instead.
    const std::pair<const char*, const char*> kGames[] = {
        {"5139", "1234"}, {"5139", "1233"}, {"1236", "1236"}, {"5139", ""}};
    // The shell delivers them inside the request (as Wine may) or holds them until just after
    // it (as Windows does): the game must not tell the difference.
    const auto play = [](const auto& game, const std::vector<Event>& presses, unsigned inside,
                         bool afterRequests) {
        Harness h;
        h.start(game.first);
        h.toolkit.window().guess = game.second;
        h.random.queueSecret("2468");
        h.toolkit.setDeliverAfterRequests(afterRequests);
        for (const Event& press : presses)
            h.toolkit.insideTrayRequest(inside, press);
        h.toolkit.deliver(*game.second == '\0' ? Event::menu(MenuCommand::resetAnser) : kJudge);
        EXPECT_FALSE(h.toolkit.hasScheduledEvents());
        std::string seen = h.toolkit.trayPicture() + " " + std::string(h.guess()) + " " +
                           std::to_string(h.state().GuessCount) + h.state().SecretNumber +
                           std::to_string(h.state().VerdictShown + 2 * h.state().SpinHold);
        for (const std::string& line : h.toolkit.window().rirekiList)
            seen += " [" + line + "]";
        return seen + std::to_string(h.toolkit.trace({CallKind::MessageBox}).size());
    };
    for (const auto& game : kGames) {
        for (const std::vector<Event>& presses : kPresses) {
            for (unsigned inside = 1; inside <= 4; ++inside)
                EXPECT_EQ(play(game, presses, inside, false), play(game, presses, inside, true))
                    << game.first << " " << presses.front().describe() << " in request " << inside;
        }
    }
}

}  // namespace
}  // namespace quor6::fake
