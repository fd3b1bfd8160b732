#pragma once

#include <string>
#include <string_view>

namespace quor6 {

// The guess is four characters "0".."9"; position 1 is the leftmost. These helpers never read
// outside the text: a short or broken guess reads as '0' digits rather than crashing.

inline constexpr std::string_view kFirstGuess = "1234";

char guessChar(std::string_view guess, int position);
int guessDigit(std::string_view guess, int position);

// The guess with the character at `position` replaced by the decimal digit `digit`.
std::string withDigit(std::string_view guess, int position, int digit);

// Whether `text` is a well-formed guess: exactly four decimal digits.
bool isWellFormedGuess(std::string_view text);

inline int digitAfterStepUp(int digit) {
    return digit >= 9 ? 0 : digit + 1;
}
inline int digitAfterStepDown(int digit) {
    return digit <= 0 ? 9 : digit - 1;
}

}  // namespace quor6
