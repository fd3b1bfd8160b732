// Tray mouse dispatch: every message on every slot, the callback filter of the host windows,
// the tray menu and its commands.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "tests/unit/harness.h"

namespace quor6::fake {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;

// The dispatch table, row by row for the messages 0x200..0x206.
constexpr std::array<const char*, 7> kDigitRow = {"none", "up",      "release", "none",
                                                  "down", "release", "none"};
constexpr std::array<const char*, 7> kMenuRow = {"none", "judge",   "release", "none",
                                                 "menu", "release", "answer"};

std::string expectedAction(int slot, std::uint32_t message) {
    if (slot < 1 || slot > 5 || message < 0x200 || message > 0x206)
        return "none";
    return (slot == 5 ? kMenuRow : kDigitRow)[message - 0x200];
}

std::string actionName(TrayAction action) {
    switch (action) {
        case TrayAction::None:
            return "none";
        case TrayAction::SpinUp:
            return "up";
        case TrayAction::SpinDown:
            return "down";
        case TrayAction::Release:
            return "release";
        case TrayAction::Judge:
            return "judge";
        case TrayAction::OpenMenu:
            return "menu";
        case TrayAction::ShowAnswer:
            return "answer";
    }
    return "?";
}

const std::vector<std::uint32_t> kMessages = {0x200, 0x201, 0x202, 0x203, 0x204,   0x205,
                                              0x206, 0,     0x1FF, 0x207, 0x10201, 0xFFFFFFFF};

TEST(DispatchTable, MapsEverySlotAndMessageAsTheTableSays) {
    for (int slot = 0; slot <= 6; ++slot) {
        for (const std::uint32_t message : kMessages) {
            EXPECT_EQ(actionName(trayAction(slot, message)), expectedAction(slot, message))
                << "slot " << slot << " message " << std::hex << message;
        }
    }
}

// What one message did to a freshly started game (answer 5139), seen from outside.
std::string effectOf(int slot, std::uint32_t message) {
    Harness h;
    h.start("5139");
    h.toolkit.onDoEvents(1, Event::mouse(slot, 0x202));  // so that a step ends at once
    const std::size_t mark = h.toolkit.mark();
    h.toolkit.deliver(Event::mouse(slot, message));
    const std::string guess(h.guess());
    if (guess != "1234") {
        if (slot < 1 || slot > 4)
            return "guess " + guess;
        const int position = slot - 1;
        const int before = "1234"[position] - '0';
        const int after = guess[static_cast<std::size_t>(position)] - '0';
        if (guess.substr(0, position) + guess.substr(position + 1) !=
            std::string("1234").substr(0, position) + std::string("1234").substr(position + 1)) {
            return "other digits changed: " + guess;
        }
        if (h.toolkit.trayPicture() != guess + "@")
            return "tray " + h.toolkit.trayPicture();
        if (after == (before + 1) % 10)
            return "up";
        if (after == (before + 9) % 10)
            return "down";
        return "guess " + guess;
    }
    if (!h.toolkit.trace({CallKind::PopupTrayMenu}, mark).empty())
        return "menu";
    if (!h.toolkit.messageBoxes().empty()) {
        return h.toolkit.messageBoxes().front() == "5139" ? "answer" : "box";
    }
    if (h.toolkit.trayPicture() == "1S1B@" && h.state().GuessCount == 1)
        return "judge";
    // Nothing may have been asked of the window system at all.
    if (h.toolkit.traceAll(mark).size() != 1)
        return "calls";
    return "none or release";
}

TEST(DispatchThroughTheWindow, EveryMessageOnEverySlotHasTheEffectOfItsAction) {
    for (int slot = 0; slot <= 6; ++slot) {
        for (const std::uint32_t message : kMessages) {
            std::string expected = expectedAction(slot, message);
            if (expected == "none" || expected == "release")
                expected = "none or release";
            EXPECT_EQ(effectOf(slot, message), expected)
                << "slot " << slot << " message " << std::hex << message;
        }
    }
}

TEST(DispatchThroughTheWindow, OnlyReleasesEndAStepAndOnAnySlot) {
    for (int slot = 1; slot <= 5; ++slot) {
        for (const std::uint32_t message : kMessages) {
            const std::string expected = expectedAction(slot, message);
            if (expected != "none" && expected != "release")
                continue;
            Harness h;
            h.start();
            h.toolkit.onDoEvents(1, Event::mouse(slot, message));
            h.toolkit.atTime(1400, Event::mouse(1, 0x202));
            h.mouse(1, kLeftButtonDown);
            // A release ends the hold after its first step; anything else lets it go on.
            EXPECT_EQ(h.toolkit.now(), expected == "release" ? 700u : 1400u)
                << "slot " << slot << " message " << std::hex << message;
        }
    }
}

TEST(TrayCallback, TakesOnlyTheSlotsOwnIdAndAPlainMouseMessage) {
    for (int slot = 1; slot <= 5; ++slot) {
        for (std::uint32_t message = 0x200; message <= 0x206; ++message) {
            EXPECT_EQ(trayCallbackMessage(slot, static_cast<std::uintptr_t>(slot), message),
                      message);
        }
        EXPECT_EQ(trayCallbackMessage(slot, static_cast<std::uintptr_t>(slot % 5 + 1), 0x201),
                  std::nullopt);
        EXPECT_EQ(trayCallbackMessage(slot, 0, 0x201), std::nullopt);
        for (const std::uintptr_t lParam :
             {std::uintptr_t{0}, std::uintptr_t{0x1FF}, std::uintptr_t{0x207},
              std::uintptr_t{0x10201}, std::uintptr_t{0x2010000}}) {
            EXPECT_EQ(trayCallbackMessage(slot, static_cast<std::uintptr_t>(slot), lParam),
                      std::nullopt)
                << std::hex << lParam;
        }
    }
    EXPECT_EQ(trayCallbackMessage(0, 0, 0x201), std::nullopt);
    EXPECT_EQ(trayCallbackMessage(6, 6, 0x201), std::nullopt);
}

TEST(TrayMenu, BringsTheWindowForwardLetsMessagesThroughThenPopsUp) {
    Harness h;
    h.start();
    h.toolkit.onDoEvents(1, Event::mouse(3, kMouseMove));
    const std::size_t mark = h.toolkit.mark();
    h.mouse(5, kRightButtonDown);
    EXPECT_THAT(h.toolkit.traceAll(mark),
                ElementsAre("deliver mouse 5 0x204", "formHandle", "setForegroundWindow 0x10000",
                            "doEvents", "deliver mouse 3 0x200", "popupTrayMenu None"));
    EXPECT_EQ(h.state().SpinHold, kFalse);
}

TEST(TrayMenu, ARightPressWhileAVerdictShowsOpensTheMenuAndLeavesTheVerdict) {
    Harness h;
    h.start("5139");
    h.judge();
    const std::size_t mark = h.toolkit.mark();
    h.mouse(5, kRightButtonDown);
    EXPECT_THAT(h.toolkit.trace({CallKind::PopupTrayMenu, CallKind::ShellNotifyIcon}, mark),
                ElementsAre("popupTrayMenu None"));
    EXPECT_EQ(h.toolkit.trayPicture(), "1S1B@");
    EXPECT_EQ(h.state().VerdictShown, kTrue);
    h.judge();  // the next left press still only brings the guess back
    EXPECT_EQ(h.toolkit.trayPicture(), "1234@");
    EXPECT_EQ(h.state().GuessCount, 1);
}

TEST(TrayMenu, TheChosenCommandRunsInsideThePress) {
    Harness h;
    h.start();
    h.toolkit.window().guess = "9876";
    h.toolkit.choosePopupCommand(MenuCommand::resetAnser);
    h.mouse(5, kRightButtonDown);
    EXPECT_EQ(h.guess(), "1234");
    EXPECT_EQ(h.toolkit.trayPicture(), "1234@");
}

TEST(MenuCommands, HistoryEntriesAndUnknownIdsDoNothing) {
    Harness h;
    h.start();
    const std::size_t mark = h.toolkit.mark();
    std::vector<int> ids = {0, 1, 100, 106, 109, 120, -1, 999};
    for (int id = 110; id <= 119; ++id)
        ids.push_back(id);
    for (const int id : ids)
        h.form.runMenuCommand(static_cast<MenuCommand>(id));
    EXPECT_THAT(h.toolkit.traceAll(mark), IsEmpty());
}

TEST(MenuCommands, EachKnownIdRunsItsHandler) {
    {
        Harness h;
        h.start();
        h.toolkit.window().guess = "9876";
        h.form.runMenuCommand(MenuCommand::resetAnser);
        EXPECT_EQ(h.guess(), "1234");
    }
    {
        Harness h;
        h.start();
        h.form.runMenuCommand(MenuCommand::displayrireki);
        EXPECT_TRUE(h.toolkit.window().visible);
        EXPECT_TRUE(h.toolkit.window().rirekilist2Visible);
    }
    {
        Harness h;
        h.start();
        h.form.runMenuCommand(MenuCommand::mnuAbout);
        EXPECT_TRUE(h.toolkit.window().visible);
        EXPECT_FALSE(h.toolkit.window().rirekilist2Visible);
    }
    {
        Harness h;
        h.start();
        h.form.runMenuCommand(MenuCommand::diplayHelp);
        EXPECT_EQ(h.toolkit.startedProcesses().size(), 1u);
    }
    {
        Harness h;
        h.start();
        EXPECT_THROW(h.form.runMenuCommand(MenuCommand::mnuEnd), ProcessEnded);
        EXPECT_EQ(h.toolkit.trayIconCount(), 0u);
    }
}

TEST(ShowAnswer, ARightDoubleClickOnTheMenuIconShowsTheAnswerAndNothingElse) {
    // The shell reports the double-click; or its second press closes the menu that the first
    // opened; or the shell reports it while that menu is open, or while it is being opened.
    enum class Way { Callback, SecondPressInMenu, ReportedInMenu, ReportedBeforeMenu };
    const struct {
        Way way;
        std::vector<std::string> trace;
    } kCases[] = {
        {Way::Callback, {"messageBox 5139"}},
        {Way::SecondPressInMenu, {"popupTrayMenu rightDoubleClick", "messageBox 5139"}},
        {Way::ReportedInMenu, {"popupTrayMenu resetAnser", "closeTrayMenu", "messageBox 5139"}},
        {Way::ReportedBeforeMenu, {"closeTrayMenu", "messageBox 5139"}},
    };
    for (const auto& c : kCases) {
        Harness h;
        h.start("5139");
        h.toolkit.window().guess = "1243";
        const std::size_t mark = h.toolkit.mark();
        switch (c.way) {
            case Way::Callback:
                h.mouse(5, kRightButtonDoubleClick);
                break;
            case Way::SecondPressInMenu:
                h.toolkit.closePopupByRightDoubleClick();
                h.mouse(5, kRightButtonDown);
                break;
            case Way::ReportedInMenu:
                // Had the menu not been closed, its entry would have reset the guess.
                h.toolkit.choosePopupCommand(MenuCommand::resetAnser);
                h.toolkit.duringPopup(Event::mouse(5, kRightButtonDoubleClick));
                h.mouse(5, kRightButtonDown);
                break;
            case Way::ReportedBeforeMenu:
                h.toolkit.onDoEvents(1, Event::mouse(5, kRightButtonDoubleClick));
                h.mouse(5, kRightButtonDown);
                break;
        }
        const auto way = static_cast<int>(c.way);
        EXPECT_EQ(
            h.toolkit.trace({CallKind::MessageBox, CallKind::PopupTrayMenu, CallKind::CloseTrayMenu,
                             CallKind::ShellNotifyIcon, CallKind::SetGuessText, CallKind::ShowForm,
                             CallKind::StartProcess, CallKind::ListAppend},
                            mark),
            c.trace)
            << "way " << way;
        EXPECT_EQ(h.guess(), "1243") << "way " << way;
        EXPECT_EQ(h.state().GuessCount, 0) << "way " << way;
        EXPECT_EQ(h.state().VerdictShown, kFalse) << "way " << way;
    }
}

}  // namespace
}  // namespace quor6::fake
