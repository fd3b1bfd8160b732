// Start-up, a second copy, quitting, a tray created anew or late.
#include <gmock/gmock.h>

#include <string>
#include <vector>

#include "tests/unit/harness.h"

namespace quor6::fake {
namespace {

using testing::ElementsAre;

// A lock that fails for another reason than another copy's says nothing of one: play goes on.
TEST(StartUp, AddsTheFiveIconsHidesTheWindowAndStartsAPuzzle) {
    for (const auto lock : {InstanceLock::Created, InstanceLock::Failed}) {
        Harness h;
        h.toolkit.setInstanceLock(lock);
        h.start("5139");
        EXPECT_THAT(
            h.toolkit.trace({CallKind::PreviousInstanceRunning, CallKind::ShellNotifyIcon,
                             CallKind::HideForm, CallKind::ShowForm, CallKind::SetMenuRootVisible,
                             CallKind::SetGuessText, CallKind::ListClear, CallKind::MessageBox}),
            ElementsAre("previousInstanceRunning false", "tray add 1 PictureNum1",
                        "tray add 2 PictureNum2", "tray add 3 PictureNum3",
                        "tray add 4 PictureNum4", "tray add 5 PictureSW", "hideForm",
                        "setMenuRootVisible false", "setGuessText 1234", "listClear rirekiList"));
        EXPECT_EQ(h.state().GuessCount + h.state().VerdictShown + h.state().SpinHold, 0);
        EXPECT_EQ(h.random.reseedCount(), 1);
    }
}

// The lock is there already, or there but denied to us (that of a copy running elevated).
TEST(StartUp, ASecondCopySaysSoAndEndsWithoutTouchingTheTray) {
    for (const auto lock : {InstanceLock::AlreadyExists, InstanceLock::AccessDenied}) {
        Harness h;
        h.toolkit.setInstanceLock(lock);
        EXPECT_THROW(h.form.Form_Load(), ProcessEnded);
        EXPECT_THAT(h.toolkit.traceAll(),
                    ElementsAre("previousInstanceRunning true", "messageBox 既に起動されています",
                                "endProcess"));
        EXPECT_EQ(h.random.reseedCount(), 0);
    }
}

// Every way of quitting, also from inside start-up, a hold, a verdict or a menu, ends with the
// five deletes in slot order (with the images the slots started with), nothing between or after.
TEST(Quit, RemovesTheFiveIconsInSlotOrderAndEndsAtOnce) {
    const Event press = Event::mouse(2, kLeftButtonDown);
    const Event quit = Event::menu(MenuCommand::mnuEnd);
    const struct {
        std::vector<Arrival> arrivals;
        std::vector<Event> events;
        std::size_t requestsBefore;  // those of the interrupted handlers
    } kWays[] = {
        {{}, {kJudge, quit}, 4},
        {{}, {Event::quitButton()}, 0},
        {{}, {Event::windowClose()}, 0},
        {{}, {Event::mouse(5, kRightButtonDown)}, 0},  // the tray menu's entry
        {{}, {Event::menu(MenuCommand::mnuAbout), Event::windowClose()}, 0},
        {{}, {Event::menu(MenuCommand::displayrireki), Event::quitButton()}, 0},
        // In a hold: before the step is shown, or after the pause.
        {{{kInDoEvents, 1, quit}}, {press}, 0},
        {{{kInDoEvents, 2, Event::windowClose()}}, {press}, 1},
        {{{kInDoEvents, 2, Event::quitButton()}}, {press}, 1},
        {{{kInDoEvents, 2, Event::mouse(5, kRightButtonDown)}}, {press}, 1},
        // In an inner hold, which ends the outer one too.
        {{{kInDoEvents, 1, Event::mouse(3, kLeftButtonDown)}, {kInDoEvents, 3, quit}}, {press}, 1},
        {{{kInRequest, 5 + 2, quit}}, {kJudge}, 4},        // inside a verdict's request: after it
        {{{kInRequest, 5 + 1, press}}, {quit}, 0},         // a press inside a delete
        {{{kInRequest, 3, Event::windowClose()}}, {}, 0},  // while the icons are added: after
    };
    for (const auto& way : kWays) {
        Harness h;
        h.toolkit.choosePopupCommand(MenuCommand::mnuEnd);
        h.script(way.arrivals);  // a request's count includes the five adds of start-up
        const auto playUntilTheEnd = [&] {
            h.start();
            for (const Event& event : way.events)
                h.toolkit.deliver(event);
        };
        EXPECT_THROW(playUntilTheEnd(), ProcessEnded);
        const auto requests = h.toolkit.trace({CallKind::ShellNotifyIcon, CallKind::EndProcess});
        ASSERT_EQ(requests.size(), 5 + way.requestsBefore + 6) << testing::PrintToString(requests);
        EXPECT_THAT(std::vector<std::string>(requests.end() - 6, requests.end()),
                    ElementsAre("tray delete 1 PictureNum1", "tray delete 2 PictureNum2",
                                "tray delete 3 PictureNum3", "tray delete 4 PictureNum4",
                                "tray delete 5 PictureSW", "endProcess"));
        EXPECT_EQ(h.toolkit.trayPicture(), "-----");
        EXPECT_EQ(h.toolkit.callsAfterEnd(), 0);
        EXPECT_EQ(h.random.reseedCount(), 1);  // the puzzle was started first
    }
}

// Something else ended the message loop (a quit message posted from outside): the icons go.
TEST(Quit, WhenSomethingElseEndsTheMessageLoopTheIconsGoToo) {
    Harness h;
    h.start();
    h.toolkit.onDoEvents(1, kJudge);  // what was pending is handled first
    h.toolkit.setLoopExitCode(7);
    EXPECT_EQ(h.form.runMessageLoop(), 7);
    EXPECT_EQ(h.toolkit.trace({CallKind::ShellNotifyIcon}).size(), 5u + 4 + 5);
    EXPECT_EQ(h.toolkit.trayPicture(), "-----");
}

TEST(Quit, AnUnloadCannotBeCancelledAndLeavesTheEndingToTheQuitCommands) {
    for (const std::int16_t value : {0, 1, -1}) {
        Harness h;
        h.start();
        std::int16_t cancel = value;
        h.form.Form_Unload(cancel);
        EXPECT_EQ(cancel, value);
        EXPECT_EQ(h.toolkit.trayPicture(), "-----");
        EXPECT_FALSE(h.toolkit.processEnded());
        h.toolkit.deliver(Event::taskbarCreated());  // the icons stay away
        h.clickUp(2);                                // and no press runs
        EXPECT_EQ(h.toolkit.trayPicture() + std::string(h.guess()), "-----1234");
    }
}

// A new tray gets each icon back as it was, a verdict included; a surviving one is shown again.
// Both in the frame of the small-icon size in force (a change of scaling also makes a new tray).
// A judging pressed meanwhile waits: the picture read for slot 1 is not put over its verdict.
TEST(TaskbarCreated, PutsBackWhatTheIconsShowed) {
    const struct {
        int judged;  // 1: before the new tray, 2: pressed inside the first of its requests
        int lost;    // 0: the whole tray was re-created, else the one icon that was lost
        int smallIconSize;
        const char* requests;
        const char* picture;
    } kCases[] = {{0, 0, 16, "aaaaa", "1235@"},
                  {1, 0, 24, "aaaaa", "1S2B@"},
                  {1, 3, 20, "amamaamam", "1S2B@"},
                  {0, 2, 32, "amaamamam", "1235@"},
                  {2, 3, 16, "amamaamammmmm", "1S2B@"}};
    for (const auto& c : kCases) {
        Harness h;
        h.start("5139");
        h.clickUp(4);
        if (c.judged == 1)
            h.judge();
        if (c.lost > 0)
            h.toolkit.loseTrayIcon(c.lost);
        if (c.judged == 2)
            h.toolkit.insideTrayRequest(1, kJudge);
        h.toolkit.setSmallIconSize(c.smallIconSize);
        const std::size_t mark = h.toolkit.mark();
        h.toolkit.deliver(Event::taskbarCreated(c.lost == 0));
        std::string requests;
        for (const std::string& request : h.toolkit.trace({CallKind::ShellNotifyIcon}, mark))
            requests += request[5];  // "tray add ...": a, m or d
        for (int slot = 1; slot <= kSlotCount; ++slot)
            EXPECT_EQ(h.toolkit.trayIcon(slot)->frame, c.smallIconSize) << slot;
        EXPECT_EQ(requests, c.requests);
        EXPECT_EQ(h.toolkit.trayPicture(), c.picture);
        h.judge();  // then the next press on a verdict still only brings the guess back
        EXPECT_EQ(h.toolkit.trayPicture(), c.judged ? "1235@" : "1S2B@");
    }
}

// A tray not up yet refuses the adds (Wine never announces its tray): offered till it has them all.
TEST(TrayRetry, IconsRefusedAtStartAreOfferedAgainUntilTheTrayHasThemAll) {
    const struct {
        int refused;  // the first adds the shell refuses
        const char* pictureAtStart;
    } kCases[] = {{0, "1234@1234"}, {2, "--34@1234"}, {5, "-----1234"}};
    for (const auto& c : kCases) {
        Harness h;
        h.toolkit.setShellRefusesRequests(c.refused > 0);
        const Event trayUp{"tray up",
                           [&h](frmQuor6&) { h.toolkit.setShellRefusesRequests(false); }};
        if (c.refused < kSlotCount)
            h.toolkit.schedule(kInRequest, static_cast<std::uint64_t>(c.refused), trayUp);
        h.start();
        EXPECT_EQ(h.toolkit.trayPicture() + std::string(h.guess()), c.pictureAtStart);
        EXPECT_EQ(h.toolkit.trayRetryTimerOn(), c.refused > 0);
        h.toolkit.setShellRefusesRequests(c.refused == kSlotCount);
        h.toolkit.deliver(Event::trayRetryTimer());
        EXPECT_EQ(h.toolkit.trayRetryTimerOn(), c.refused == kSlotCount);  // still no tray
        h.toolkit.setShellRefusesRequests(false);
        h.toolkit.deliver(Event::trayRetryTimer());
        EXPECT_EQ(h.toolkit.trayPicture(), "1234@");
        EXPECT_FALSE(h.toolkit.trayRetryTimerOn());
    }
}

}  // namespace
}  // namespace quor6::fake
