// The version box, the history window and the help file.
#include <string>

#include "shell/frm_quor6.h"

namespace quor6 {

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
    line += executableDirectory;
    line += '\\';
    line += kHelpFileName;
    return line;
}

void frmQuor6::diplayHelp_Click() {
    // The viewer is started by its full path from the Windows directory (or, where it is not
    // there, the system directory), never looked up in the current directory, where anybody
    // could have put a program of that name.
    const std::string commandLine = helpCommandLine(toolkit_.executableDirectory());
    for (const std::string& directory : {toolkit_.windowsDirectory(), toolkit_.systemDirectory()}) {
        if (directory.empty())
            continue;
        std::string viewer = directory;
        viewer += '\\';
        viewer += kHelpViewerName;
        if (toolkit_.startProcess(viewer, commandLine))
            return;
    }
    toolkit_.messageBox(kHelpViewerFailedText);
}

}  // namespace quor6
