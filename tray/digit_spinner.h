#pragma once

#include "core/puzzle_state.h"
#include "platform/toolkit.h"
#include "tray/held_messages.h"
#include "tray/tray_slots.h"

namespace quor6 {

enum class SpinDirection { Up, Down };

inline constexpr unsigned kSpinPeriodMilliseconds = 700;

// Steps the digit at guess `position` (1..4) while SpinHold stays set: one step at once, then one
// per pause, letting pending messages run before and after each pause (held tray messages
// first: they came earlier). The first press after a verdict only brings the guess back.
void spinDigit(SpinDirection direction, const int& position, PuzzleState& state, TraySlots& tray,
               Toolkit& toolkit, HeldMessages& held);

// Shows the digits of the current guess at positions 1..4, reading the guess afresh for each.
void showGuessInSlots(TraySlots& tray, Toolkit& toolkit);

}  // namespace quor6
