// Drawing a new hidden number: its guarantees, its use of the random source, and the
// reachability and spread of all answers with the clock-seeded generator.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/puzzle_state.h"
#include "core/random_source.h"
#include "tests/unit/scripted_random.h"

namespace quor6 {
namespace {

using fake::ScriptedRandom;

// Every way in which a drawn answer could be malformed, as one readable message.
std::string answerFault(const PuzzleState& state) {
    const std::string& secret = state.SecretNumber;
    if (secret.size() != 4)
        return "length " + std::to_string(secret.size());
    std::set<char> seen;
    for (const char c : secret) {
        if (c < '1' || c > '9')
            return "character outside 1..9 in " + secret;
        if (!seen.insert(c).second)
            return "repeated digit in " + secret;
    }
    int set = 0;
    for (int d = 0; d < DigitPositionTable::kDigits; ++d) {
        for (int p = 0; p < DigitPositionTable::kPositions; ++p) {
            if (!state.DigitUseTable.at(d, p))
                continue;
            ++set;
            if (d == 0 || p == 0)
                return "digit 0 or position 0 set for " + secret;
            if (secret[static_cast<std::size_t>(p - 1)] != '0' + d) {
                return "table and text disagree at position " + std::to_string(p);
            }
        }
    }
    if (set != 4)
        return std::to_string(set) + " table entries set for " + secret;
    return {};
}

TEST(NewSecret, DrawsFourDifferentDigitsThatTableAndTextAgreeOn) {
    ScriptedRandom random;  // its fixed-seed generator, after an empty script
    PuzzleState state;
    for (int i = 0; i < 3000; ++i) {
        newSecret(state, random);
        ASSERT_EQ(answerFault(state), "") << "draw " << i;
    }
}

TEST(NewSecret, ScriptedDrawsGiveTheirDigitsInPositionOrder) {
    ScriptedRandom random;
    random.queueSecret("5139");
    PuzzleState state;
    newSecret(state, random);
    EXPECT_EQ(state.SecretNumber, "5139");
    EXPECT_TRUE(state.DigitUseTable.at(5, 1));
    EXPECT_TRUE(state.DigitUseTable.at(1, 2));
    EXPECT_TRUE(state.DigitUseTable.at(3, 3));
    EXPECT_TRUE(state.DigitUseTable.at(9, 4));
}

TEST(NewSecret, ReseedsOnceBeforeDrawingAndRedrawsAUsedDigit) {
    ScriptedRandom random;
    random.queueSecret("55515234");  // 5, 5 again, 5 again, 1, 5 again, 2, 3
    PuzzleState state;
    newSecret(state, random);
    EXPECT_EQ(state.SecretNumber, "5123");
    EXPECT_EQ(random.history(), "RDDDDDDD");
    EXPECT_EQ(random.pendingDraws(), 1u);  // the 4 was never needed

    newSecret(state, random);
    EXPECT_EQ(random.reseedCount(), 2);
    EXPECT_EQ(random.history().substr(8, 1), "R");
}

TEST(NewSecret, MapsTheWholeUnitIntervalOntoOneToNine) {
    ScriptedRandom random;
    // 0 gives 1, the largest float below 1 gives 9. Just below 8/9 the digit is 8 when the
    // product is taken in double precision; single precision would round it up to 9.
    random.queueDraws({0.0f, 0x1.fffffep-1f, 0x1.c71c7p-1f, 0.5f});
    PuzzleState state;
    newSecret(state, random);
    EXPECT_EQ(state.SecretNumber, "1985");
}

TEST(NewSecret, RedrawsWhenTheSourceLeavesTheUnitInterval) {
    ScriptedRandom random;
    random.queueDraws({1.0f, -0.25f, ScriptedRandom::drawFor(4), ScriptedRandom::drawFor(3),
                       ScriptedRandom::drawFor(2), ScriptedRandom::drawFor(1)});
    PuzzleState state;
    newSecret(state, random);
    EXPECT_EQ(state.SecretNumber, "4321");
    EXPECT_EQ(answerFault(state), "");
}

TEST(NewSecret, ResetsTheCountAndTouchesNothingElse) {
    ScriptedRandom random;
    PuzzleState state;
    state.GuessCount = 17;
    state.VerdictShown = kTrue;
    state.SpinHold = kTrue;
    newSecret(state, random);
    EXPECT_EQ(state.GuessCount, 0);
    EXPECT_EQ(state.VerdictShown, kTrue);
    EXPECT_EQ(state.SpinHold, kTrue);

    state.VerdictShown = kFalse;
    state.SpinHold = kFalse;
    state.GuessCount = kMaxGuessCount;
    newSecret(state, random);
    EXPECT_EQ(state.GuessCount, 0);
    EXPECT_EQ(state.VerdictShown, kFalse);
    EXPECT_EQ(state.SpinHold, kFalse);
}

TEST(NewSecret, ASecondDrawLeavesOnlyTheSecondAnswerInTheTable) {
    ScriptedRandom random;
    random.queueSecret("1234");
    random.queueSecret("5678");
    PuzzleState state;
    newSecret(state, random);
    newSecret(state, random);
    EXPECT_EQ(state.SecretNumber, "5678");
    EXPECT_EQ(answerFault(state), "");
    for (int d = 1; d <= 4; ++d)
        EXPECT_FALSE(state.DigitUseTable.used(d)) << d;
}

TEST(ClockSeededRandom, StaysInsideTheUnitInterval) {
    ClockSeededRandom random;
    random.reseedFromClock();
    float lowest = 1.0f;
    float highest = 0.0f;
    for (int i = 0; i < 200000; ++i) {
        const float r = random.nextUnit();
        ASSERT_GE(r, 0.0f);
        ASSERT_LT(r, 1.0f);
        lowest = r < lowest ? r : lowest;
        highest = r > highest ? r : highest;
    }
    EXPECT_LT(lowest, 0.001f);
    EXPECT_GT(highest, 0.999f);
}

TEST(ClockSeededRandom, ReachesEveryAnswerAndSpreadsThemEvenly) {
    constexpr int kAnswers = 9 * 8 * 7 * 6;
    constexpr int kPerAnswer = 30;
    ClockSeededRandom random;
    PuzzleState state;
    std::vector<int> seen(10000, 0);     // indexed by the answer read as a number
    std::map<int, int> digitAtPosition;  // 10 * position + digit
    for (int i = 0; i < kAnswers * kPerAnswer; ++i) {
        newSecret(state, random);
        ++seen[static_cast<std::size_t>(std::stoi(state.SecretNumber))];
        for (int p = 0; p < 4; ++p) {
            ++digitAtPosition[10 * p + state.SecretNumber[static_cast<std::size_t>(p)] - '0'];
        }
    }
    int reached = 0;
    for (const int count : seen)
        reached += count > 0 ? 1 : 0;
    ASSERT_EQ(reached, kAnswers);

    // Chi-square over 3,023 degrees of freedom: mean 3,023, standard deviation about 78.
    // Six deviations above the mean fails a fair generator practically never.
    double chiSquare = 0;
    for (const int count : seen) {
        if (count == 0)
            continue;  // the 6,976 numbers that are no answer
        const double difference = count - kPerAnswer;
        chiSquare += difference * difference / kPerAnswer;
    }
    EXPECT_LT(chiSquare, 3023.0 + 6.0 * 78.0);

    // Each digit at each position: expected 1/9 of all draws.
    const double expected = kAnswers * kPerAnswer / 9.0;
    for (const auto& [key, count] : digitAtPosition) {
        EXPECT_NEAR(count, expected, expected * 0.05)
            << "position " << key / 10 + 1 << " digit " << key % 10;
    }
    EXPECT_EQ(digitAtPosition.size(), 36u);
}

TEST(ClockSeededRandom, ReseedingInQuickSuccessionStillGivesNewPuzzles) {
    ClockSeededRandom random;
    PuzzleState state;
    std::set<std::string> answers;
    for (int i = 0; i < 50; ++i) {
        newSecret(state, random);
        answers.insert(state.SecretNumber);
    }
    // Fifty draws in well under a clock tick; equal seeds would repeat one answer.
    EXPECT_GT(answers.size(), 40u);
}

TEST(GuessCount, CountsUpAndHoldsAtItsSixteenBitMaximum) {
    EXPECT_EQ(nextGuessCount(0), 1);
    EXPECT_EQ(nextGuessCount(9), 10);
    EXPECT_EQ(nextGuessCount(32766), 32767);
    EXPECT_EQ(nextGuessCount(kMaxGuessCount), kMaxGuessCount);
}

}  // namespace
}  // namespace quor6
