// Start-up, the single-instance rule and the three ways of quitting.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "tests/unit/harness.h"

namespace quor6::fake {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;

TEST(StartUp, LeavesFiveIconsAHiddenWindowANewPuzzleAndTheFirstGuess) {
    Harness h;
    h.start("5139");
    EXPECT_EQ(h.toolkit.trayPicture(), "1234@");
    EXPECT_FALSE(h.toolkit.window().visible);
    EXPECT_FALSE(h.toolkit.window().menuRootVisible);
    EXPECT_EQ(h.guess(), "1234");
    EXPECT_EQ(h.state().SecretNumber, "5139");
    EXPECT_EQ(h.state().GuessCount, 0);
    EXPECT_EQ(h.state().VerdictShown, kFalse);
    EXPECT_EQ(h.state().SpinHold, kFalse);
    EXPECT_EQ(h.random.reseedCount(), 1);
    EXPECT_THAT(h.toolkit.window().rirekiList, IsEmpty());
    EXPECT_FALSE(h.toolkit.processEnded());
}

TEST(StartUp, RunsItsStepsInOrder) {
    Harness h;
    h.start();
    EXPECT_THAT(
        h.toolkit.trace({CallKind::PreviousInstanceRunning, CallKind::ShellNotifyIcon,
                         CallKind::HideForm, CallKind::ShowForm, CallKind::SetMenuRootVisible,
                         CallKind::SetGuessText, CallKind::ListClear,
                         CallKind::SetHistoryEntryCaption, CallKind::SetHistoryEntryVisible,
                         CallKind::MessageBox}),
        ElementsAre("previousInstanceRunning false", "tray add 1 PictureNum1",
                    "tray add 2 PictureNum2", "tray add 3 PictureNum3", "tray add 4 PictureNum4",
                    "tray add 5 PictureSW", "hideForm", "setMenuRootVisible false",
                    "setGuessText 1234", "listClear rirekiList"));
}

TEST(StartUp, EmptiesOnlyTheStoreAndLeavesTheOtherHistoryViewsAlone) {
    Harness h;
    h.toolkit.window().rirekiList = {"stale"};
    h.toolkit.window().rirekilist2 = {"window line"};
    h.start();
    EXPECT_THAT(h.toolkit.window().rirekiList, IsEmpty());
    EXPECT_THAT(h.toolkit.window().rirekilist2, ElementsAre("window line"));
}

TEST(StartUp, CompletesWhenTheShellRefusesEveryRequest) {
    Harness h;
    h.toolkit.setShellRefusesRequests(true);
    h.start();
    EXPECT_EQ(h.toolkit.trayRequestCount(), 5);
    EXPECT_EQ(h.toolkit.trayIconCount(), 0u);
    EXPECT_EQ(h.guess(), "1234");
    EXPECT_FALSE(h.toolkit.window().visible);
    EXPECT_THROW(h.form.mnuEnd_Click(), ProcessEnded);
    EXPECT_EQ(h.toolkit.trayRequestCount(), 10);
}

TEST(SingleInstance, ASecondCopySaysSoAndEndsWithoutTouchingTheTray) {
    Harness h;
    h.toolkit.setPreviousInstanceRunning(true);
    EXPECT_THROW(h.form.Form_Load(), ProcessEnded);
    EXPECT_THAT(h.toolkit.traceAll(), ElementsAre("previousInstanceRunning true",
                                                  "messageBox 既に起動されています", "endProcess"));
    EXPECT_THAT(h.toolkit.messageBoxes(), ElementsAre("既に起動されています"));
    EXPECT_EQ(h.toolkit.trayRequestCount(), 0);
    EXPECT_EQ(h.random.reseedCount(), 0);
    EXPECT_EQ(h.state().SecretNumber, "");
}

struct QuitWay {
    const char* name;
    std::function<void(Harness&)> quit;
};

class Quitting : public testing::TestWithParam<QuitWay> {};

TEST_P(Quitting, RemovesTheFiveIconsInSlotOrderAndEndsAtOnce) {
    Harness h;
    h.start();
    h.clickUp(1);
    h.judge();
    const std::size_t mark = h.toolkit.mark();
    EXPECT_THROW(GetParam().quit(h), ProcessEnded);
    EXPECT_THAT(h.toolkit.trace({CallKind::ShellNotifyIcon, CallKind::EndProcess}, mark),
                ElementsAre("tray delete 1 PictureNum1", "tray delete 2 PictureNum2",
                            "tray delete 3 PictureNum3", "tray delete 4 PictureNum4",
                            "tray delete 5 PictureSW", "endProcess"));
    EXPECT_EQ(h.toolkit.calls().back().kind, CallKind::EndProcess);
    EXPECT_EQ(h.toolkit.trayIconCount(), 0u);
    EXPECT_EQ(h.toolkit.callsAfterEnd(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, Quitting,
    testing::Values(QuitWay{"mnuEnd", [](Harness& h) { h.form.mnuEnd_Click(); }},
                    QuitWay{"Command2", [](Harness& h) { h.form.Command2_Click(); }},
                    QuitWay{"windowClose", [](Harness& h) { h.form.closeByWindowSystem(); }},
                    QuitWay{"trayMenu",
                            [](Harness& h) {
                                h.toolkit.choosePopupCommand(MenuCommand::mnuEnd);
                                h.mouse(5, kRightButtonDown);
                            }},
                    QuitWay{"shownWindowClosed",
                            [](Harness& h) {
                                h.form.mnuAbout_Click();
                                h.toolkit.deliver(Event::windowClose());
                            }},
                    QuitWay{"shownWindowQuitButton",
                            [](Harness& h) {
                                h.form.displayrireki_Click();
                                h.toolkit.deliver(Event::quitButton());
                            }}),
    [](const testing::TestParamInfo<QuitWay>& way) { return std::string(way.param.name); });

TEST(Unload, CannotBeCancelledAndLeavesCancelAlone) {
    for (const std::int16_t value : {std::int16_t{0}, std::int16_t{1}, std::int16_t{-1}}) {
        Harness h;
        h.start();
        std::int16_t cancel = value;
        h.form.Form_Unload(cancel);
        EXPECT_EQ(cancel, value);
        EXPECT_EQ(h.toolkit.trayIconCount(), 0u) << value;
        EXPECT_FALSE(h.toolkit.processEnded());  // ending is the quit commands' business
    }
}

}  // namespace
}  // namespace quor6::fake
