// Tray mouse dispatch: stepping digits, judging, the tray menu and the answer box.
#include <utility>

#include "shell/frm_quor6.h"
#include "tray/digit_spinner.h"
#include "tray/tray_dispatch.h"

namespace quor6 {

void frmQuor6::spinDigitUp(const int& position) {
    spinDigit(SpinDirection::Up, position, state_, tray_, toolkit_, heldMessages_);
}

void frmQuor6::spinDigitDown(const int& position) {
    spinDigit(SpinDirection::Down, position, state_, tray_, toolkit_, heldMessages_);
}

namespace {
bool isButtonPress(std::uint32_t message) {
    return message == kLeftButtonDown || message == kRightButtonDown ||
           message == kRightButtonDoubleClick;
}
}  // namespace

void frmQuor6::handleMessage(const WindowMessage& message) {
    using Kind = WindowMessage::Kind;
    switch (message.kind) {
        case Kind::TrayMouse:
            return handleTrayPress(message.slot, message.value);
        case Kind::MenuCommand:
            return runMenuCommand(static_cast<MenuCommand>(message.value));
        case Kind::OkButton:
            return Command1_Click();
        case Kind::QuitButton:
            return Command2_Click();
        case Kind::Close:
            return closeByWindowSystem();
        case Kind::TaskbarCreated:
            return onTaskbarCreated();
        case Kind::TrayRetryTimer:
            return onTrayRetryTimer();
    }
}

void frmQuor6::handleTrayPress(int slot, std::uint32_t message) {
    // What the player pressed must be what acts: if they dragged the icons since, the guess or
    // verdict goes onto them in their new order first. Messages the shell delivers meanwhile
    // came after the press, so they wait until its action has begun.
    if (slot >= 1 && slot <= kSlotCount && isButtonPress(message))
        tray_.followScreenOrder();
    // A stepping loop keeps the position it started with, wherever its icon goes meanwhile.
    const int position = tray_.positionOfSlot(slot);
    actOnTrayPress(slot, position, message);
    heldMessages_.release();
}

void frmQuor6::actOnTrayPress(int slot, const int& position, std::uint32_t message) {
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
            if (trayMenuOpen_) {
                // The double-click's first press is opening the menu: no box over the menu,
                // and no menu after the box.
                answerAfterTrayMenu_ = true;
                toolkit_.closeTrayMenu();
                return;
            }
            showAnswer();
            return;
        case TrayAction::None:
            return;
    }
}

void frmQuor6::openTrayMenu() {
    // A menu opened by a press delivered inside this one's doEvents keeps its own state.
    const bool outerMenuOpen = std::exchange(trayMenuOpen_, true);
    const bool outerAnswer = std::exchange(answerAfterTrayMenu_, false);
    toolkit_.setForegroundWindow(toolkit_.formHandle());
    // Pending messages run first, the held ones ahead of newer ones (a double-click whose
    // second press came while a verdict was being shown closes the menu before it opens).
    heldMessages_.release();
    toolkit_.doEvents();
    TrayMenuOutcome outcome;
    if (!answerAfterTrayMenu_)
        outcome = toolkit_.popupTrayMenu();
    const bool answer = answerAfterTrayMenu_ || outcome.rightDoubleClick;
    trayMenuOpen_ = outerMenuOpen;
    answerAfterTrayMenu_ = outerAnswer;
    if (answer) {
        showAnswer();
        return;
    }
    runMenuCommand(outcome.command);
}

void frmQuor6::showAnswer() {
    showMessageBox(state_.SecretNumber);
}

void frmQuor6::showMessageBox(std::string_view text) {
    // The box's own message loop runs whatever comes while it is up; what already waits goes
    // first. The text is the one of the moment the box was asked for.
    const std::string shown(text);
    heldMessages_.release();
    toolkit_.messageBox(shown);
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
