#pragma once

#include <string_view>

#include "core/puzzle_state.h"

namespace quor6 {

enum class VerdictKind { Rejected, Scored, Solved };

struct Verdict {
    VerdictKind kind = VerdictKind::Rejected;
    int strikes = 0;
    int balls = 0;

    friend bool operator==(const Verdict& a, const Verdict& b) {
        return a.kind == b.kind && a.strikes == b.strikes && a.balls == b.balls;
    }
};

// Judges a four-character guess against the hidden number's table. A guess with two equal
// characters is Rejected; four strikes is Solved; anything else is Scored.
Verdict scoreGuess(std::string_view guess, const DigitPositionTable& table);

}  // namespace quor6
