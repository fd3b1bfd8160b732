// Tray mouse dispatch and the hosts' callback filter, the tray menu, its commands, the answer box,
// the version box, the history window, the OK button, centring the window and the help viewer.
#include <gmock/gmock.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "tests/unit/harness.h"

namespace quor6::fake {
namespace {

using testing::ElementsAre;
using A = TrayAction;

const std::vector<std::uint32_t> kMessages = {0x200, 0x201, 0x202, 0x203, 0x204,   0x205,
                                              0x206, 0,     0x1FF, 0x207, 0x10201, 0xFFFFFFFF};

// The dispatch table, row by row for the messages 0x200..0x206.
TrayAction expectedAction(int slot, std::uint32_t message) {
    constexpr std::array<A, 7> kDigit = {A::None,     A::SpinUp,  A::Release, A::None,
                                         A::SpinDown, A::Release, A::None};
    constexpr std::array<A, 7> kMenu = {A::None,     A::Judge,   A::Release,   A::None,
                                        A::OpenMenu, A::Release, A::ShowAnswer};
    if (slot < 1 || slot > 5 || message < 0x200 || message > 0x206)
        return A::None;
    return (slot == 5 ? kMenu : kDigit)[message - 0x200];
}

// What the action does to a fresh game (answer 5139, guess 1234), seen in the tray.
std::string expectedEffect(int slot, TrayAction action) {
    std::string shown = "1234@";
    if (action == A::SpinUp || action == A::SpinDown)
        shown[static_cast<std::size_t>(slot - 1)] += action == A::SpinUp ? 1 : -1;
    if (action == A::Judge)
        return "1S1B@";
    if (action == A::OpenMenu)
        return shown + " popupTrayMenu None";
    return action == A::ShowAnswer ? shown + " messageBox 5139" : shown;
}

// Also what the host window takes from the shell: only its own id and a plain mouse message.
TEST(Dispatch, EveryMessageOnEverySlotDoesWhatTheTableSays) {
    for (int slot = 0; slot <= 6; ++slot) {
        for (const std::uint32_t message : kMessages) {
            SCOPED_TRACE(testing::Message()
                         << "slot " << slot << " message " << std::hex << message);
            const TrayAction action = expectedAction(slot, message);
            EXPECT_EQ(trayAction(slot, message), action);
            const auto id = static_cast<std::uintptr_t>(slot);
            const bool taken = slot >= 1 && slot <= 5 && message >= 0x200 && message <= 0x206;
            EXPECT_EQ(trayCallbackMessage(slot, id, message),
                      taken ? std::optional(message) : std::nullopt);
            EXPECT_EQ(trayCallbackMessage(slot, id % 5 + 1, message), std::nullopt);

            Harness h;
            h.start("5139");
            h.toolkit.onDoEvents(1, Event::mouse(slot, kLeftButtonUp));  // a step ends at once
            const std::size_t mark = h.toolkit.mark();
            h.mouse(slot, message);
            const auto boxes =
                h.toolkit.trace({CallKind::PopupTrayMenu, CallKind::MessageBox}, mark);
            EXPECT_EQ(h.toolkit.trayPicture() + (boxes.empty() ? "" : " " + boxes.front()),
                      expectedEffect(slot, action));

            if (action != A::None && action != A::Release)
                continue;  // does it end a hold on slot 1? Only a release does, on any slot.
            Harness hold;
            hold.start();
            hold.toolkit.onDoEvents(1, Event::mouse(slot, message));
            hold.toolkit.atTime(1400, Event::mouse(1, kLeftButtonUp));
            hold.mouse(1, kLeftButtonDown);
            EXPECT_EQ(hold.toolkit.now(), action == A::Release ? 700u : 1400u);
        }
    }
}

// The menu first brings the window forward and lets waiting messages through; each entry then
// runs its command inside the press, and other ids do nothing.
TEST(TrayMenu, BringsTheWindowForwardLetsMessagesThroughPopsUpAndRunsTheEntryChosen) {
    // What the entries 101..105 leave; any other id does nothing.
    const std::array<const char*, 5> kEffects = {"1234 hidden", "9876 shown history",
                                                 "9876 hidden help", "9876 shown", "ended"};
    for (const int id : {101, 102, 103, 104, 105, 0, 100, 106, 110, 119, -1}) {
        Harness h;
        h.start();
        h.toolkit.window().guess = "9876";
        h.toolkit.choosePopupCommand(static_cast<MenuCommand>(id));
        h.toolkit.onDoEvents(1, Event::mouse(3, kMouseMove));
        const std::size_t mark = h.toolkit.mark();
        try {
            h.mouse(5, kRightButtonDown);
        } catch (const ProcessEnded&) {
            EXPECT_EQ(h.toolkit.trayIconCount(), 0u);
        }
        std::vector<std::string> calls = h.toolkit.traceAll(mark);
        calls.resize(10);  // up to the popup
        EXPECT_THAT(
            calls, ElementsAre("deliver mouse 5 0x204", "trayPlace 1", "trayPlace 2", "trayPlace 3",
                               "trayPlace 4", "formHandle", "setForegroundWindow 0x10000",
                               "doEvents", "deliver mouse 3 0x200",
                               "popupTrayMenu " + menuCommandName(static_cast<MenuCommand>(id))));
        const WindowModel& w = h.toolkit.window();
        const std::string seen =
            std::string(h.guess()) + (w.visible ? " shown" : " hidden") +
            (w.rirekilist2Visible ? " history" : "") +
            (h.toolkit.trace({CallKind::StartProcess}, mark).empty() ? "" : " help");
        EXPECT_EQ(
            h.toolkit.processEnded() ? "ended" : seen,
            id >= 101 && id <= 105 ? kEffects[static_cast<std::size_t>(id - 101)] : "9876 hidden")
            << id;
    }
}

// A right double-click on the menu icon shows the answer and nothing else: reported by the shell,
// or its second press closing the menu the first opened, or reported while that menu is up.
TEST(ShowAnswer, ARightDoubleClickShowsTheAnswerAndNothingElseWhicheverWayItComes) {
    const std::vector<std::string> kTraces[] = {
        {"messageBox 5139"},
        {"popupTrayMenu rightDoubleClick", "messageBox 5139"},
        {"popupTrayMenu resetAnser", "closeTrayMenu", "messageBox 5139"},
        {"closeTrayMenu", "messageBox 5139"}};
    const Event doubleClick = Event::mouse(5, kRightButtonDoubleClick);
    for (std::size_t way = 0; way < 4; ++way) {
        Harness h;
        h.start("5139");
        h.toolkit.window().guess = "1243";
        if (way == 1)
            h.toolkit.closePopupByRightDoubleClick();
        // Had the menu not been closed, its entry would have reset the guess.
        h.toolkit.choosePopupCommand(MenuCommand::resetAnser);
        if (way == 2)
            h.toolkit.duringPopup(doubleClick);
        if (way == 3)
            h.toolkit.onDoEvents(1, doubleClick);
        const std::size_t mark = h.toolkit.mark();
        h.toolkit.deliver(way == 0 ? doubleClick : Event::mouse(5, kRightButtonDown));
        EXPECT_EQ(
            h.toolkit.trace({CallKind::MessageBox, CallKind::PopupTrayMenu, CallKind::CloseTrayMenu,
                             CallKind::ShellNotifyIcon, CallKind::SetGuessText, CallKind::ShowForm},
                            mark),
            kTraces[way])
            << "way " << way;
        EXPECT_EQ(std::string(h.guess()) + " " + std::to_string(h.state().GuessCount), "1243 0");
    }
}

// Each tray request centres the window first, wherever the player has dragged it.
TEST(WindowViews, VersionBoxHistoryWindowAndOkSwitchTheOneWindowCentredBeforeEachTrayRequest) {
    Harness h;
    h.toolkit.window().height = 3391;  // odd sizes: integer halves would lose the .5
    h.toolkit.window().width = 4951;
    h.start("5139");
    for (const char* guess : {"1234", "1534"}) {
        h.toolkit.window().guess = guess;
        h.judge();
        h.judge();  // the guess back
    }
    const std::size_t mark = h.toolkit.mark();
    h.form.displayrireki_Click();
    h.toolkit.deliver(Event::okButton());
    h.form.mnuAbout_Click();
    EXPECT_THAT(
        h.toolkit.trace({CallKind::SetMenuRootVisible, CallKind::ShowForm, CallKind::HideForm,
                         CallKind::ListClear, CallKind::ListAppend, CallKind::SetListVisible,
                         CallKind::Deliver},
                        mark),
        ElementsAre("setMenuRootVisible false", "showForm", "listClear rirekilist2",
                    "listAppend rirekilist2 2回目 1534 1S 2B ",
                    "listAppend rirekilist2 1回目 1234 1S 1B ", "setListVisible rirekilist2 true",
                    "deliver Command1", "hideForm", "setMenuRootVisible false", "showForm",
                    "setListVisible rirekilist2 false"));

    h.toolkit.window().left = 100;  // the player drags the version box away
    const std::size_t press = h.toolkit.mark();
    h.clickUp(2);  // vertical first, each half in floating point
    EXPECT_THAT(h.toolkit.trace({CallKind::FormHeight, CallKind::ScreenHeight, CallKind::SetFormTop,
                                 CallKind::FormWidth, CallKind::ScreenWidth, CallKind::SetFormLeft,
                                 CallKind::ShellNotifyIcon},
                                press),
                ElementsAre("formHeight", "screenHeight", "setFormTop 4064.500000", "formWidth",
                            "screenWidth", "setFormLeft 5204.500000", "tray modify 2 PictureNum6"));
}

// Which program opens the help, by what the Windows directory's Winhlp32.exe is: never the stub
// (it only says help files are unsupported); where nothing opens, a box says so, and play goes on.
TEST(Help, OnlyARealViewerIsStartedElseTheBrowserOpensThePageElseABoxSaysSo) {
    const std::string viewer =
        "startProcess C:\\WIN\\Winhlp32.exe | Winhlp32.exe D:\\my games\\quor6.hlp";
    const std::string page = "openDocument D:\\my games\\quor6.html";
    const std::string box = "messageBox " + std::string(kHelpViewerFailedText);
    const struct {
        std::optional<unsigned> version;  // the viewer's first version number; none: no record
        bool viewerStarts;
        bool browserOpens;
        std::vector<std::string> trace;
    } kCases[] = {
        {6, true, true, {viewer}},                    // Windows 8.1
        {std::nullopt, true, true, {viewer}},         // Wine's
        {10, true, true, {page}},                     // the stub of Windows 10 and 11
        {std::nullopt, false, true, {viewer, page}},  // no viewer
        {10, true, false, {page, box}},
        {std::nullopt, false, false, {viewer, page, box}},
    };
    for (const auto& c : kCases) {
        Harness h;
        h.start();
        h.toolkit.setExecutableDirectory("D:\\my games");
        h.toolkit.setWindowsDirectory("C:\\WIN");
        if (c.version)
            h.toolkit.setFileMajorVersion("C:\\WIN\\Winhlp32.exe", *c.version);
        h.toolkit.setStartProcessSucceeds(c.viewerStarts);
        h.toolkit.setOpenDocumentSucceeds(c.browserOpens);
        const std::size_t mark = h.toolkit.mark();
        h.form.diplayHelp_Click();
        EXPECT_EQ(h.toolkit.trace(
                      {CallKind::StartProcess, CallKind::OpenDocument, CallKind::MessageBox,
                       CallKind::ShellNotifyIcon, CallKind::ShowForm, CallKind::SetMenuRootVisible},
                      mark),
                  c.trace);
    }
}

}  // namespace
}  // namespace quor6::fake
