// The version box, the history window, the OK button, centring the window and the help viewer.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/unit/harness.h"

namespace quor6::fake {
namespace {

using testing::ElementsAre;

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
