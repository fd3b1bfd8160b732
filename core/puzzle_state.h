#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/flags.h"

namespace quor6 {

class RandomSource;

// Digit-at-position flags of the hidden number: entry (d, p) is true exactly when digit d
// stands at position p (1 = leftmost). Digit 0 and position 0 exist but are never set.
class DigitPositionTable {
  public:
    static constexpr int kDigits = 10;
    static constexpr int kPositions = 5;

    bool at(int digit, int position) const;
    void set(int digit, int position, bool value);
    void clear() { cells_ = {}; }

    // True when the digit is already used at any of the positions 1..4.
    bool used(int digit) const;

  private:
    std::array<std::array<bool, kPositions>, kDigits> cells_{};
};

inline constexpr std::int16_t kMaxGuessCount = 32767;

// Everything the running program knows about the current puzzle.
struct PuzzleState {
    std::string SecretNumber;
    DigitPositionTable DigitUseTable;
    std::int16_t GuessCount = 0;
    Flag16 VerdictShown = kFalse;
    Flag16 SpinHold = kFalse;
};

// Draws a new hidden number: reseeds `random`, clears the table, draws four different
// digits 1..9 in position order and sets GuessCount to 0. Touches nothing else.
void newSecret(PuzzleState& state, RandomSource& random);

// GuessCount plus one, held at its 16-bit maximum instead of overflowing.
std::int16_t nextGuessCount(std::int16_t count);

}  // namespace quor6
