#pragma once

#include "tests/unit/harness.h"

namespace quor6::fuzz {

// What must hold whenever a handler has run, also in the middle of an interrupted one.
void checkGameState(const fake::Harness& h);

// What must hold between two events: one history line per counted guess, and with a shell
// that never refused a request, all five icons in the tray (in the middle of re-adding them
// after a new tray, some are not).
void checkBetweenEvents(const fake::Harness& h, bool shellEverRefused);

// What must hold once the process has ended by a quit: the five deletes in slot order, and
// nothing of the program ran or reached the tray after them.
void checkQuit(const fake::Harness& h, bool shellRefusesNow);

}  // namespace quor6::fuzz
