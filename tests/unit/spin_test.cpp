// The stepping loop on the virtual clock, what arrives inside it, and the one order of the
// tray's messages: none overtakes one that still waits, wherever it waits.
#include <gmock/gmock.h>

#include <string>
#include <vector>

#include "tests/unit/harness.h"
#include "tray/digit_spinner.h"

namespace quor6::fake {
namespace {

using testing::ElementsAre;

const Event kRelease = Event::mouse(2, kLeftButtonUp);
const Event kPress3 = Event::mouse(3, kLeftButtonDown);
const Event kRelease3 = Event::mouse(3, kLeftButtonUp);
const Event kNewPuzzle = Event::menu(MenuCommand::resetAnser);

// What the player sees: the tray, the guess, the virtual time, and the flags left set.
std::string seen(const Harness& h) {
    return h.toolkit.trayPicture() + " " + std::string(h.guess()) + " " +
           std::to_string(h.toolkit.now()) + (h.state().VerdictShown == kTrue ? " verdict" : "") +
           (h.state().SpinHold == kTrue ? " held" : "");
}

TEST(Spin, AHoldStepsEverySevenHundredMillisecondsUntilTheRelease) {
    Harness h;
    h.start();
    h.toolkit.atTime(800, kRelease);
    const std::size_t mark = h.toolkit.mark();
    h.mouse(2, kLeftButtonDown);
    EXPECT_THAT(h.toolkit.trace({CallKind::SetGuessText, CallKind::DoEvents, CallKind::Deliver,
                                 CallKind::ShellNotifyIcon, CallKind::SleepMilliseconds},
                                mark + 1),  // after the press's own delivery
                ElementsAre("setGuessText 1334", "doEvents", "tray modify 2 PictureNum3",
                            "sleep 700", "doEvents",  //
                            "setGuessText 1434", "doEvents", "tray modify 2 PictureNum4",
                            "sleep 700", "doEvents", "deliver mouse 2 0x202"));
}

// Slots 1..5 hold the pictures and positions 1..4 the digits: outside them nothing is stepped,
// shown or remembered (the fake shell refuses the id; the test build checks every array index).
TEST(TraySlots, NothingIsSteppedShownOrRememberedOutsideTheSlots) {
    Harness h;
    IgnoredMessages sink;
    HeldMessages held(sink);
    TraySlots tray(h.toolkit, held);
    PuzzleState state;
    for (const int outside : {0, 5, 6}) {
        state.SpinHold = kTrue;
        h.toolkit.onDoEvents(1, Event{"release", [&state](frmQuor6&) { state.SpinHold = kFalse; }});
        const std::size_t mark = h.toolkit.mark();
        spinDigit(SpinDirection::Up, outside, state, tray, h.toolkit, held);
        EXPECT_THAT(h.toolkit.trace({CallKind::SetGuessText, CallKind::ShellNotifyIcon}, mark),
                    testing::IsEmpty())
            << outside;
        if (outside == 5)
            continue;  // a slot, but no digit's
        EXPECT_THROW(tray.addTrayIcon(outside, fakeTextBoxHandle(1), IconHolder::PictureSW),
                     std::logic_error);
        EXPECT_EQ(tray.shownImage(outside), std::nullopt) << outside;
    }
}

// Slot 2 of 1234 (answer 5139) is held; what arrives meanwhile is handled inside the hold.
TEST(Spin, WhatArrivesDuringAHoldIsHandledInsideIt) {
    const struct {
        std::vector<Arrival> arrivals;
        const char* expected;
        const char* dragTo = nullptr;  // where the icons stand from the second doEvents on
    } kCases[] = {
        {{{kInDoEvents, 2, kRelease}}, "1334@ 1334 700"},  // a release after the pause
        {{{kAtTime, 6300, Event::mouse(1, kLeftButtonUp)}}, "1134@ 1134 6300"},  // 9 to 0
        // A judging shows NG over 1334; the next pass restores the guess and leaves the hold.
        {{{kInDoEvents, 1, kJudge}, {kInDoEvents, 3, kRelease}}, "1334@ 1334 700 held"},
        // With the release too the verdict stays, but for the stepped slot.
        {{{kInDoEvents, 1, kJudge}, {kInDoEvents, 1, kRelease}}, "_3G_@ 1334 700 verdict"},
        // Presses on slot 3 run a loop of their own inside; the outer pass then finishes.
        {{{kInDoEvents, 1, kPress3}, {kInDoEvents, 3, kRelease3}}, "1344@ 1344 1400"},
        // The inner loop ends by restoring after a judging; the outer one steps on.
        {{{kInDoEvents, 1, kPress3}, {kInDoEvents, 2, kJudge}, {kInDoEvents, 5, kRelease}},
         "1444@ 1444 2100"},
        // A new puzzle: the next pass steps from the new guess.
        {{{kInDoEvents, 1, kNewPuzzle}, {kAtTime, 1400, kRelease}}, "1334@ 1334 1400"},
        // Inside the step's tray request: the release, a new tray, a judging.
        {{{kInRequest, 1, kRelease}}, "1334@ 1334 700"},
        {{{kInRequest, 1, Event::taskbarCreated()}, {kInDoEvents, 2, kRelease}}, "1334@ 1334 700"},
        {{{kInRequest, 1, kJudge}, {kInDoEvents, 2, kRelease}}, "_NG_@ 1334 700 verdict"},
        // A press there waits out the pause: its own steps come 700 ms later.
        {{{kInRequest, 1, kPress3}, {kAtTime, 1400, kRelease}}, "1344@ 1344 1400"},
        // A press after a drag ranks the icons anew: the hold keeps its position, now on slot 1.
        {{{kInDoEvents, 2, Event::mouse(1, kRightButtonDoubleClick)}, {kAtTime, 1400, kRelease}},
         "4134@ 1434 1400",
         "21345"},
    };
    for (const auto& c : kCases) {
        Harness h;
        h.start("5139");
        h.random.queueSecret("2468");
        if (c.dragTo)
            h.toolkit.onDoEvents(2, {"drag", [&](frmQuor6&) { h.toolkit.placeIcons(c.dragTo); }});
        h.script(c.arrivals);
        h.mouse(2, kLeftButtonDown);
        EXPECT_EQ(seen(h), c.expected) << c.arrivals.front().event.name;
    }
}

// Presses inside a judging or a new puzzle (in any of its tray requests) act as if the shell had
// held them until just after it, as Windows does: no guess judged twice, no verdict shown with its
// flag cleared.
TEST(MessageOrder, PressesInsideAHandlerActAsIfTheyCameJustAfter) {
    const std::vector<std::vector<Event>> kPresses = {
        {kJudge}, {kPress3, kRelease3}, {Event::mouse(5, kRightButtonDoubleClick)}};
    // Answer and the guess: scored, rejected, solved; the last runs a new puzzle instead.
    const std::pair<const char*, const char*> kGames[] = {
        {"5139", "1234"}, {"5139", "1233"}, {"1236", "1236"}, {"5139", ""}};
    const auto play = [](const auto& game, const std::vector<Event>& presses, unsigned inside,
                         bool afterRequests) {
        Harness h;
        h.start(game.first);
        h.toolkit.window().guess = game.second;
        h.random.queueSecret("2468");
        h.toolkit.setDeliverAfterRequests(afterRequests);
        for (const Event& press : presses)
            h.toolkit.insideTrayRequest(inside, press);
        h.toolkit.deliver(*game.second == '\0' ? kNewPuzzle : kJudge);
        EXPECT_FALSE(h.toolkit.hasScheduledEvents());
        std::string text =
            seen(h) + " " + std::to_string(h.state().GuessCount) + h.state().SecretNumber;
        for (const std::string& line : h.toolkit.window().rirekiList)
            text += " [" + line + "]";
        return text + std::to_string(h.toolkit.trace({CallKind::MessageBox}).size());
    };
    for (const auto& game : kGames)
        for (const std::vector<Event>& presses : kPresses)
            for (unsigned inside = 1; inside <= 4; ++inside)
                EXPECT_EQ(play(game, presses, inside, false), play(game, presses, inside, true))
                    << game.first << " " << presses.front().name << " in request " << inside;
}

// A press held during start-up steps inside its replay; a judging there holds a press on
// another digit, whose release then arrives while that press still waits. The release goes
// behind it, so it ends both loops instead of leaving the first digit stepping by itself.
TEST(MessageOrder, AReleaseWaitsBehindTheHeldPressItEnds) {
    Harness h;
    h.script({{kInRequest, 1, Event::mouse(2, kLeftButtonDown)},  // while slot 1 is added
              {kInRequest, 6, kPress3},                           // the judging's first request
              {kInDoEvents, 1, kJudge},
              {kInDoEvents, 1, kRelease3}});
    h.start("5139");
    EXPECT_EQ(seen(h), "1334@ 1334 700");
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
    EXPECT_EQ(seen(h), "1S1B@ 1234 0 verdict");
}

// A judging that waits behind a right double-click (after a drag, so the press ranks the icons
// first) runs before the answer box opens, and at once after one on a digit icon (a no-op).
TEST(MessageOrder, WhatWaitsRunsBeforeTheAnswerBoxAndAfterAPressThatDoesNothing) {
    for (const int slot : {5, 1}) {
        Harness h;
        h.toolkit.placeIcons("54321");
        h.start("5139");
        h.toolkit.placeIcons("53421");
        h.toolkit.insideTrayRequest(1, kJudge);
        const std::size_t mark = h.toolkit.mark();
        h.mouse(slot, kRightButtonDoubleClick);
        const auto calls = h.toolkit.trace({CallKind::ShellNotifyIcon, CallKind::MessageBox}, mark);
        EXPECT_EQ(calls.empty() ? "" : calls.back(),
                  slot == 5 ? "messageBox 5139" : "tray modify 1 PictureB");
    }
}

}  // namespace
}  // namespace quor6::fake
