// The version box, the history window and the help file.
#include <optional>
#include <string>

#include "shell/frm_quor6.h"

namespace quor6 {
namespace {

// Windows 10 and 11 keep a winhlp32.exe that cannot show any help file: it only says that the
// format is no longer supported. Its version record tells it apart: file version 10.0.x
// (described as "Windows Winhlp32 Stub", but the description is translated on a Japanese
// Windows, the number is not). The real viewer was last built for Windows 8.1, as version 6.3,
// and Wine's has no version record at all. So a viewer counts as real unless its file version
// is 10 or more.
constexpr unsigned kFirstStubVersion = 10;

bool isViewerStub(std::optional<unsigned> majorVersion) {
    return majorVersion && *majorVersion >= kFirstStubVersion;
}

// `name` in `directory`, a Windows path.
std::string pathIn(std::string_view directory, std::string_view name) {
    std::string path(directory);
    path += '\\';
    path += name;
    return path;
}

}  // namespace

void frmQuor6::mnuAbout_Click() {
    toolkit_.setMenuRootVisible(false);
    toolkit_.showForm();
    toolkit_.setListVisible(ListBox::rirekilist2, false);
}

void frmQuor6::displayrireki_Click() {
    toolkit_.setMenuRootVisible(false);
    toolkit_.showForm();
    fillWindowListFromStore();
    toolkit_.setListVisible(ListBox::rirekilist2, true);
}

void frmQuor6::Command1_Click() {
    toolkit_.hideForm();
}

std::string frmQuor6::helpCommandLine(std::string_view executableDirectory) {
    std::string line(kHelpViewerName);
    line += ' ';
    line += pathIn(executableDirectory, kHelpFileName);
    return line;
}

void frmQuor6::diplayHelp_Click() {
    // The viewer is started by its full path from the Windows directory (or, where it is not
    // there, the system directory), never looked up in the current directory, where anybody
    // could have put a program of that name.
    const std::string executableDirectory = toolkit_.executableDirectory();
    const std::string commandLine = helpCommandLine(executableDirectory);
    for (const std::string& directory : {toolkit_.windowsDirectory(), toolkit_.systemDirectory()}) {
        if (directory.empty())
            continue;
        const std::string viewer = pathIn(directory, kHelpViewerName);
        if (!isViewerStub(toolkit_.fileMajorVersion(viewer)) &&
            toolkit_.startProcess(viewer, commandLine))
            return;
    }
    // No viewer that can show it: the same help as a page, in the player's browser.
    if (!toolkit_.openDocument(pathIn(executableDirectory, kHelpPageName)))
        showMessageBox(kHelpViewerFailedText);
}

}  // namespace quor6
