#include "core/guess.h"

namespace quor6 {

char guessChar(std::string_view guess, int position) {
    if (position < 1 || static_cast<std::size_t>(position) > guess.size())
        return '0';
    return guess[static_cast<std::size_t>(position - 1)];
}

int guessDigit(std::string_view guess, int position) {
    const char c = guessChar(guess, position);
    return (c >= '0' && c <= '9') ? c - '0' : 0;
}

std::string withDigit(std::string_view guess, int position, int digit) {
    std::string text;
    for (int p = 1; p <= 4; ++p) {
        text.push_back(p == position ? static_cast<char>('0' + digit % 10)
                                     : static_cast<char>('0' + guessDigit(guess, p)));
    }
    return text;
}

bool isWellFormedGuess(std::string_view text) {
    if (text.size() != 4)
        return false;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

}  // namespace quor6
