// Reading and rewriting single digits of the guess.
#include <gtest/gtest.h>

#include "core/guess.h"

namespace quor6 {
namespace {

TEST(Guess, ReadsPositionsFromTheLeft) {
    EXPECT_EQ(guessChar("5072", 1), '5');
    EXPECT_EQ(guessChar("5072", 4), '2');
    EXPECT_EQ(guessDigit("5072", 2), 0);
    EXPECT_EQ(guessDigit("5072", 3), 7);
}

TEST(Guess, NeverReadsOutsideTheText) {
    EXPECT_EQ(guessChar("12", 3), '0');
    EXPECT_EQ(guessChar("1234", 0), '0');
    EXPECT_EQ(guessChar("1234", 5), '0');
    EXPECT_EQ(guessDigit("12x4", 3), 0);
}

TEST(Guess, ReplacesExactlyOneCharacter) {
    EXPECT_EQ(withDigit("1234", 1, 9), "9234");
    EXPECT_EQ(withDigit("1234", 2, 3), "1334");
    EXPECT_EQ(withDigit("1234", 3, 0), "1204");
    EXPECT_EQ(withDigit("1234", 4, 9), "1239");
}

TEST(Guess, StepsWrapAroundBothWays) {
    EXPECT_EQ(digitAfterStepUp(8), 9);
    EXPECT_EQ(digitAfterStepUp(9), 0);
    EXPECT_EQ(digitAfterStepDown(1), 0);
    EXPECT_EQ(digitAfterStepDown(0), 9);
}

TEST(Guess, WellFormedMeansExactlyFourDecimalDigits) {
    EXPECT_TRUE(isWellFormedGuess("0000"));
    EXPECT_TRUE(isWellFormedGuess("9876"));
    EXPECT_FALSE(isWellFormedGuess("123"));
    EXPECT_FALSE(isWellFormedGuess("12345"));
    EXPECT_FALSE(isWellFormedGuess("12a4"));
    EXPECT_FALSE(isWellFormedGuess("Text1"));
}

}  // namespace
}  // namespace quor6
