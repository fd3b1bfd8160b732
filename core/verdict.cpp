#include "core/verdict.h"

#include "core/guess.h"

namespace quor6 {

Verdict scoreGuess(std::string_view guess, const DigitPositionTable& table) {
    for (int n = 4; n >= 2; --n) {
        for (int k = 1; k < n; ++k) {
            if (guessChar(guess, n) == guessChar(guess, k))
                return {VerdictKind::Rejected, 0, 0};
        }
    }
    Verdict verdict{VerdictKind::Scored, 0, 0};
    for (int i = 1; i <= 4; ++i) {
        const int g = guessDigit(guess, i);
        for (int j = 1; j <= 4; ++j) {
            if (table.at(g, j)) {
                if (j == i) {
                    ++verdict.strikes;
                } else {
                    ++verdict.balls;
                }
                break;
            }
        }
    }
    if (verdict.strikes == 4)
        verdict.kind = VerdictKind::Solved;
    return verdict;
}

}  // namespace quor6
