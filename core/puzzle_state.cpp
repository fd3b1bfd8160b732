#include "core/puzzle_state.h"

#include <cmath>

#include "core/random_source.h"

namespace quor6 {

namespace {
bool inTable(int digit, int position) {
    return digit >= 0 && digit < DigitPositionTable::kDigits && position >= 0 &&
           position < DigitPositionTable::kPositions;
}
}  // namespace

bool DigitPositionTable::at(int digit, int position) const {
    return inTable(digit, position) && cells_[digit][position];
}

void DigitPositionTable::set(int digit, int position, bool value) {
    if (inTable(digit, position))
        cells_[digit][position] = value;
}

bool DigitPositionTable::used(int digit) const {
    for (int p = 1; p <= 4; ++p) {
        if (at(digit, p))
            return true;
    }
    return false;
}

void newSecret(PuzzleState& state, RandomSource& random) {
    random.reseedFromClock();
    state.SecretNumber.clear();
    state.DigitUseTable.clear();
    for (int position = 1; position <= 4; ++position) {
        int digit = 0;
        do {
            const double r = static_cast<double>(random.nextUnit());
            digit = static_cast<int>(std::floor(r * 9.0 + 1.0));
            // A source that breaks its [0, 1) promise must not produce 0 or 10.
            if (digit < 1 || digit > 9)
                digit = 0;
        } while (digit == 0 || state.DigitUseTable.used(digit));
        state.DigitUseTable.set(digit, position, true);
        state.SecretNumber.push_back(static_cast<char>('0' + digit));
    }
    state.GuessCount = 0;
}

std::int16_t nextGuessCount(std::int16_t count) {
    return count >= kMaxGuessCount ? kMaxGuessCount : static_cast<std::int16_t>(count + 1);
}

}  // namespace quor6
