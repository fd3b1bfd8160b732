// Tray mouse dispatch: stepping digits, judging, the tray menu and the answer box.
#include "shell/frm_quor6.h"
#include "tray/digit_spinner.h"
#include "tray/tray_dispatch.h"

namespace quor6 {

void frmQuor6::spinDigitUp(const int& position) {
    spinDigit(SpinDirection::Up, position, state_, tray_, toolkit_);
}

void frmQuor6::spinDigitDown(const int& position) {
    spinDigit(SpinDirection::Down, position, state_, tray_, toolkit_);
}

void frmQuor6::onTrayMouse(int slot, std::uint32_t message) {
    const int position = slot;
    switch (trayAction(slot, message)) {
        case TrayAction::SpinUp:
            state_.SpinHold = kTrue;
            spinDigitUp(position);
            return;
        case TrayAction::SpinDown:
            state_.SpinHold = kTrue;
            spinDigitDown(position);
            return;
        case TrayAction::Release:
            state_.SpinHold = kFalse;
            return;
        case TrayAction::Judge:
            judgeGuess();
            return;
        case TrayAction::OpenMenu:
            openTrayMenu();
            return;
        case TrayAction::ShowAnswer:
            showAnswer();
            return;
        case TrayAction::None:
            return;
    }
}

void frmQuor6::openTrayMenu() {
    toolkit_.setForegroundWindow(toolkit_.formHandle());
    toolkit_.doEvents();
    const TrayMenuOutcome outcome = toolkit_.popupTrayMenu();
    if (outcome.rightDoubleClick) {
        showAnswer();
        return;
    }
    runMenuCommand(outcome.command);
}

void frmQuor6::showAnswer() {
    toolkit_.messageBox(state_.SecretNumber);
}

void frmQuor6::runMenuCommand(MenuCommand command) {
    switch (command) {
        case MenuCommand::resetAnser:
            resetAnser_Click();
            return;
        case MenuCommand::displayrireki:
            displayrireki_Click();
            return;
        case MenuCommand::diplayHelp:
            diplayHelp_Click();
            return;
        case MenuCommand::mnuAbout:
            mnuAbout_Click();
            return;
        case MenuCommand::mnuEnd:
            mnuEnd_Click();
            return;
        default:
            // The history entries and anything unknown do nothing.
            return;
    }
}

}  // namespace quor6
