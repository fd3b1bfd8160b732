#include "tray/digit_spinner.h"

#include <string>

#include "core/guess.h"

namespace quor6 {

void showGuessInSlots(TraySlots& tray, Toolkit& toolkit) {
    for (int position = 1; position <= 4; ++position) {
        const int digit = guessDigit(toolkit.guessText(), position);
        tray.showAtPosition(position, PictureNum(digit));
    }
}

void spinDigit(SpinDirection direction, const int& position, PuzzleState& state, TraySlots& tray,
               Toolkit& toolkit, HeldMessages& held) {
    if (position < 1 || position > 4)
        return;
    const auto letMessagesThrough = [&toolkit, &held] {
        held.release();
        toolkit.doEvents();
    };
    for (;;) {
        if (state.SpinHold != kTrue)
            return;
        if (state.VerdictShown == kTrue) {
            showGuessInSlots(tray, toolkit);
            state.VerdictShown = kFalse;
            return;
        }
        const std::string guess = toolkit.guessText();
        const int digit = guessDigit(guess, position);
        const int stepped =
            direction == SpinDirection::Up ? digitAfterStepUp(digit) : digitAfterStepDown(digit);
        toolkit.setGuessText(withDigit(guess, position, stepped));
        letMessagesThrough();
        tray.showAtPosition(position, PictureNum(stepped));
        toolkit.sleepMilliseconds(kSpinPeriodMilliseconds);
        letMessagesThrough();
    }
}

}  // namespace quor6
