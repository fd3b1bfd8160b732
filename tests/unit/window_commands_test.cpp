// The version box, the history window, the OK button and the help viewer.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/unit/harness.h"

namespace quor6::fake {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;

std::string line(int number, const char* guess, const char* score) {
    return std::to_string(number) + "回目 " + guess + " " + score + " ";
}

// Three scored guesses against 5139.
void playThreeGuesses(Harness& h) {
    for (const char* guess : {"1234", "1534", "5134"}) {
        h.toolkit.window().guess = guess;
        h.judge();
        h.judge();
    }
}

TEST(VersionBox, HidesTheMenuBarShowsTheWindowAndHidesTheList) {
    Harness h;
    h.start();
    const std::size_t mark = h.toolkit.mark();
    h.form.mnuAbout_Click();
    EXPECT_THAT(h.toolkit.traceAll(mark), ElementsAre("setMenuRootVisible false", "showForm",
                                                      "setListVisible rirekilist2 false"));
    EXPECT_TRUE(h.toolkit.window().visible);
    EXPECT_FALSE(h.toolkit.window().menuRootVisible);
}

TEST(HistoryWindow, ShowsTheWindowAndFillsTheListNewestFirst) {
    Harness h;
    h.start("5139");
    playThreeGuesses(h);
    h.toolkit.window().rirekilist2 = {"left over"};
    const std::size_t mark = h.toolkit.mark();
    h.form.displayrireki_Click();
    EXPECT_THAT(
        h.toolkit.trace({CallKind::SetMenuRootVisible, CallKind::ShowForm, CallKind::HideForm,
                         CallKind::ListClear, CallKind::ListAppend, CallKind::SetListVisible},
                        mark),
        ElementsAre("setMenuRootVisible false", "showForm", "listClear rirekilist2",
                    "listAppend rirekilist2 " + line(3, "5134", "3S 0B"),
                    "listAppend rirekilist2 " + line(2, "1534", "1S 2B"),
                    "listAppend rirekilist2 " + line(1, "1234", "1S 1B"),
                    "setListVisible rirekilist2 true"));
    EXPECT_TRUE(h.toolkit.window().rirekilist2Visible);
    EXPECT_FALSE(h.toolkit.window().rirekiListVisible);
}

TEST(HistoryWindow, WithNoHistoryShowsAnEmptyList) {
    Harness h;
    h.start();
    h.toolkit.window().rirekilist2 = {"left over"};
    h.form.displayrireki_Click();
    EXPECT_THAT(h.toolkit.window().rirekilist2, IsEmpty());
    EXPECT_TRUE(h.toolkit.window().rirekilist2Visible);
    EXPECT_TRUE(h.toolkit.window().visible);
}

TEST(HistoryWindow, IsRebuiltOnEveryOpeningAndEmptyWhenReopenedAfterASolve) {
    Harness h;
    h.start("5139");
    playThreeGuesses(h);
    h.form.displayrireki_Click();
    EXPECT_EQ(h.toolkit.window().rirekilist2.size(), 3u);

    h.toolkit.window().guess = "5139";
    h.random.queueSecret("1234");
    h.judge();  // solved: the open list keeps the old lines
    EXPECT_EQ(h.toolkit.window().rirekilist2.size(), 3u);

    h.form.displayrireki_Click();
    EXPECT_THAT(h.toolkit.window().rirekilist2, IsEmpty());
}

TEST(WindowViews, SwitchBetweenVersionBoxAndHistoryWindowAtOnce) {
    Harness h;
    h.start("5139");
    playThreeGuesses(h);
    h.form.displayrireki_Click();
    h.form.Command1_Click();
    EXPECT_FALSE(h.toolkit.window().visible);
    EXPECT_TRUE(h.toolkit.window().rirekilist2Visible);  // OK leaves the view as it was

    h.form.mnuAbout_Click();
    EXPECT_TRUE(h.toolkit.window().visible);
    EXPECT_FALSE(h.toolkit.window().rirekilist2Visible);

    h.toolkit.window().guess = "9134";
    h.judge();
    h.form.displayrireki_Click();
    EXPECT_TRUE(h.toolkit.window().rirekilist2Visible);
    EXPECT_EQ(h.toolkit.window().rirekilist2.size(), 4u);
    EXPECT_EQ(h.toolkit.window().rirekilist2.front(), line(4, "9134", "2S 1B"));
}

TEST(OkButton, OnlyHidesTheWindow) {
    Harness h;
    h.start("5139");
    playThreeGuesses(h);
    h.form.displayrireki_Click();
    const std::size_t mark = h.toolkit.mark();
    h.toolkit.deliver(Event::okButton());
    EXPECT_THAT(h.toolkit.traceAll(mark), ElementsAre("deliver Command1", "hideForm"));
    EXPECT_EQ(h.toolkit.window().rirekilist2.size(), 3u);
    EXPECT_FALSE(h.toolkit.processEnded());
}

TEST(Help, StartsTheViewerFromTheWindowsDirectoryWithTheFileBesideTheProgram) {
    Harness h;
    h.start();
    h.toolkit.setExecutableDirectory("C:\\Program Files\\My Games\\quor6");
    h.toolkit.setWindowsDirectory("C:\\WINDOWS");
    const std::size_t mark = h.toolkit.mark();
    h.form.diplayHelp_Click();
    ASSERT_EQ(h.toolkit.startedProcesses().size(), 1u);
    const StartedProcess& viewer = h.toolkit.startedProcesses().front();
    EXPECT_EQ(viewer.program, "C:\\WINDOWS\\Winhlp32.exe");
    EXPECT_EQ(viewer.commandLine, "Winhlp32.exe C:\\Program Files\\My Games\\quor6\\quor6.hlp");
    // The window and the menu are left alone.
    EXPECT_THAT(
        h.toolkit.trace({CallKind::ShowForm, CallKind::HideForm, CallKind::SetMenuRootVisible,
                         CallKind::SetListVisible, CallKind::MessageBox},
                        mark),
        IsEmpty());
}

// Which program opens the help, by what the Windows directory's Winhlp32.exe turns out to be.
TEST(Help, OnlyARealViewerIsStartedElseTheBrowserOpensThePage) {
    struct Case {
        const char* what;
        std::optional<unsigned> viewer;  // its file version's first number; none: no record
        bool viewerStarts;
        bool browserOpens;
        std::size_t starts;    // tries to start the viewer: none for a stub
        const char* expected;  // "viewer", "page" or "message"
    };
    const Case cases[] = {
        {"Windows 8.1 viewer", 6, true, true, 1, "viewer"},
        {"Wine's viewer", std::nullopt, true, true, 1, "viewer"},
        {"Windows 10 and 11 stub", 10, true, true, 0, "page"},
        {"no viewer", std::nullopt, false, true, 1, "page"},
        {"stub, no browser", 10, true, false, 0, "message"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Harness h;
        h.start();
        h.toolkit.setExecutableDirectory("D:\\my games");
        h.toolkit.setWindowsDirectory("C:\\WINDOWS");
        if (c.viewer)
            h.toolkit.setFileMajorVersion("C:\\WINDOWS\\Winhlp32.exe", *c.viewer);
        h.toolkit.setStartProcessSucceeds(c.viewerStarts);
        h.toolkit.setOpenDocumentSucceeds(c.browserOpens);
        const std::size_t mark = h.toolkit.mark();
        h.form.diplayHelp_Click();
        const std::string expected = c.expected;
        // A stub is never started: it would only say that help files are not supported.
        EXPECT_EQ(h.toolkit.trace({CallKind::StartProcess}, mark).size(), c.starts);
        EXPECT_EQ(h.toolkit.startedProcesses().size(), expected == "viewer" ? 1u : 0u);
        EXPECT_EQ(h.toolkit.openedDocuments(),
                  expected == "page" ? std::vector<std::string>{"D:\\my games\\quor6.html"}
                                     : std::vector<std::string>{});
        EXPECT_EQ(h.toolkit.messageBoxes().size(), expected == "message" ? 1u : 0u);
    }
}

TEST(Help, TheCommandLineAddsNoQuotesAndNoSecondSeparator) {
    EXPECT_EQ(frmQuor6::helpCommandLine("D:\\a b"), "Winhlp32.exe D:\\a b\\quor6.hlp");
    EXPECT_EQ(frmQuor6::helpCommandLine("C:\\quor6"), "Winhlp32.exe C:\\quor6\\quor6.hlp");
}

TEST(Help, NeitherViewerNorBrowserIsReportedAndTheGameGoesOn) {
    Harness h;
    h.start("5139");
    h.judge();
    const PuzzleState before = h.state();
    const std::string tray = h.toolkit.trayPicture();
    h.toolkit.setStartProcessSucceeds(false);
    h.toolkit.setOpenDocumentSucceeds(false);
    const std::size_t mark = h.toolkit.mark();
    h.form.diplayHelp_Click();
    EXPECT_THAT(h.toolkit.trace({CallKind::MessageBox, CallKind::ShellNotifyIcon,
                                 CallKind::SetGuessText, CallKind::ShowForm},
                                mark),
                ElementsAre("messageBox " + std::string(kHelpViewerFailedText)));
    EXPECT_EQ(h.toolkit.trayPicture(), tray);
    EXPECT_EQ(h.state().GuessCount, before.GuessCount);
    EXPECT_EQ(h.state().VerdictShown, before.VerdictShown);
    EXPECT_EQ(h.state().SecretNumber, before.SecretNumber);
    EXPECT_FALSE(h.toolkit.processEnded());
}

}  // namespace
}  // namespace quor6::fake
