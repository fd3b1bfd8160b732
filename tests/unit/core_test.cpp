// The pure core: the digits of a guess, drawing a hidden number, scoring and the icon size.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "core/guess.h"
#include "core/icon_holder.h"
#include "core/puzzle_state.h"
#include "core/random_source.h"
#include "core/tray_frame_size.h"
#include "core/verdict.h"
#include "tests/unit/scripted_random.h"

namespace quor6 {
namespace {

// Outside a short or broken text the guess reads as 0; steps wrap between 9 and 0; well formed
// means exactly four decimal digits (here the texts starting 0 or 9).
TEST(Guess, ReadsRewritesStepsAndValidatesDigitsWithoutLeavingTheText) {
    EXPECT_EQ(std::string{guessChar("5072", 1)} + guessChar("5072", 4) + guessChar("12", 3) +
                  guessChar("1234", 0),
              "5200");
    EXPECT_EQ(guessDigit("5079", 4) * 10 + guessDigit("12x4", 3), 90);
    EXPECT_EQ(withDigit("1234", 1, 9) + withDigit("1x", 3, 5), "92341050");
    EXPECT_EQ(std::vector({digitAfterStepUp(8), digitAfterStepUp(9), digitAfterStepDown(1),
                           digitAfterStepDown(0)}),
              std::vector({9, 0, 0, 9}));
    for (const char* text : {"0000", "9876", "123", "12345", "12a4", "/123", "123:", "Text1"})
        EXPECT_EQ(isWellFormedGuess(text), text[0] == '0' || text[0] == '9') << text;
}

DigitPositionTable tableFor(const std::string& answer) {
    DigitPositionTable table;
    for (int p = 1; p <= 4; ++p)
        table.set(answer[static_cast<std::size_t>(p - 1)] - '0', p, true);
    return table;
}

// Four different digits 1..9, and the table holds exactly those digits at their positions.
bool wellDrawn(const PuzzleState& state) {
    const std::string& secret = state.SecretNumber;
    bool drawn = secret.size() == 4 && secret.find_first_not_of("123456789") == std::string::npos &&
                 std::set<char>(secret.begin(), secret.end()).size() == 4;
    for (int cell = 0; drawn && cell < 10 * 5; ++cell)  // digits 0..9 at positions 0..4
        drawn =
            state.DigitUseTable.at(cell / 5, cell % 5) == tableFor(secret).at(cell / 5, cell % 5);
    return drawn;
}

TEST(NewSecret, ReseedsThenMapsDrawsOntoOneToNineRedrawingUsedAndOutOfRangeOnes) {
    // Draws, the secret, the calls (R for a reseed, D for a draw). Just below 8/9 the digit is 8
    // when the product is taken in double precision; single precision would round it up to 9.
    const std::tuple<std::vector<float>, const char*, const char*> rows[] = {
        {{0.0f, 0x1.fffffep-1f, 0x1.c71c7p-1f, 0.5f, 0.6f}, "1985", "RDDDD"},
        {{1.0f, -0.25f, 0.4f, 0.4f, 0.3f, 0.2f, 0.05f, 0.6f}, "4321", "RDDDDDDD"},
    };
    for (const auto& [draws, secret, calls] : rows) {
        fake::ScriptedRandom random;
        for (const float draw : draws)
            random.queueDraw(draw);
        PuzzleState state;  // a new one holds no count and no flag set
        ASSERT_EQ(state.GuessCount + state.VerdictShown + state.SpinHold, 0);
        state.GuessCount = 12;
        state.VerdictShown = state.SpinHold = kTrue;
        newSecret(state, random);
        EXPECT_EQ(state.SecretNumber, secret);
        EXPECT_EQ(random.history(), calls);
        EXPECT_EQ(state.GuessCount * 10 + state.VerdictShown + state.SpinHold, -2);  // flags kept
    }
}

template <std::uint64_t kWall, std::uint64_t kMonotonic>
ClockReadings clocks() {
    return {kWall, kMonotonic};
}

// Each word of both clock readings and the count of reseeds (so reseeds within one clock tick
// differ) change the draws, which cover [0, 1); the secrets drawn reach every answer evenly.
TEST(ClockSeededRandom, SeedsFromBothClocksAndEachReseedDrawsBelowOneAndReachesEveryAnswer) {
    const ClockSeededRandom::ReadClocks kClocks[] = {
        clocks<0, 0>, clocks<1, 0>, clocks<1ULL << 32, 0>, clocks<0, 1>, clocks<0, 1ULL << 32>};
    std::set<float> firstDraws;
    for (const auto readClocks : kClocks) {
        ClockSeededRandom random(readClocks);
        for (int reseed = 0; reseed < 2; ++reseed) {  // the same readings twice
            random.reseedFromClock();
            firstDraws.insert(random.nextUnit());
        }
    }
    EXPECT_EQ(firstDraws.size(), 10u);
    ClockSeededRandom random;
    random.reseedFromClock();
    std::vector<float> draws(100000);
    std::generate(draws.begin(), draws.end(), [&] { return random.nextUnit(); });
    const auto [lowest, highest] = std::minmax_element(draws.begin(), draws.end());
    EXPECT_TRUE(*lowest >= 0.0f && *lowest < 0.001f) << *lowest;
    EXPECT_TRUE(*highest > 0.999f && *highest < 1.0f) << *highest;

    constexpr int kAnswers = 9 * 8 * 7 * 6;
    constexpr int kPerAnswer = 30;
    PuzzleState state;
    std::vector<int> seen(10000, 0);  // indexed by the answer read as a number
    for (int i = 0; i < kAnswers * kPerAnswer; ++i) {
        newSecret(state, random);
        ASSERT_TRUE(wellDrawn(state)) << "draw " << i << ": " << state.SecretNumber;
        ++seen[static_cast<std::size_t>(std::stoi(state.SecretNumber))];
    }
    int reached = 0;
    double chiSquare = 0;
    for (const int count : seen) {
        if (count > 0) {  // not one of the 6,976 numbers that are no answer
            ++reached;
            chiSquare += (count - kPerAnswer) * (count - kPerAnswer) / double{kPerAnswer};
        }
    }
    EXPECT_EQ(reached, kAnswers);
    // 3,023 degrees of freedom: mean 3,023, deviation about 78; a fair generator stays below +6.
    EXPECT_LT(chiSquare, 3023.0 + 6.0 * 78.0);
}

TEST(Icons, PictureNumClampsIntoTheDigitsAndTheTrayFrameIsTheSmallIconSizeOrTheNextLarger) {
    for (const auto& [number, digit] : {std::pair{-1, 0}, {0, 0}, {9, 9}, {10, 9}})
        EXPECT_EQ(PictureNum(number), static_cast<IconHolder>(digit)) << number;
    const int kCases[][2] = {{0, 16},  {16, 16}, {17, 20}, {20, 20}, {21, 24},
                             {24, 24}, {25, 32}, {32, 32}, {33, 32}, {48, 32}};
    for (const auto& [smallIcon, frame] : kCases)
        EXPECT_EQ(trayFrameSize(smallIcon), frame) << "small-icon size " << smallIcon;
}

// The rules straight: a repeated character rejects; strikes in place, balls elsewhere.
Verdict referenceVerdict(const std::string& answer, const std::string& guess) {
    Verdict verdict{VerdictKind::Scored, 0, 0};
    for (std::size_t i = 0; i < 4; ++i) {
        if (guess.find(guess[i], i + 1) != std::string::npos)
            return {VerdictKind::Rejected, 0, 0};
        const std::size_t place = answer.find(guess[i]);
        verdict.strikes += place == i ? 1 : 0;
        verdict.balls += place != i && place != std::string::npos ? 1 : 0;
    }
    if (verdict.strikes == 4)
        verdict.kind = VerdictKind::Solved;
    return verdict;
}

// One case per leading digit of the answer, so CTest can spread the work over the cores.
class ScoringExhaustive : public testing::TestWithParam<int> {};

TEST_P(ScoringExhaustive, EveryGuessAgainstEveryAnswerMatchesTheRules) {
    std::vector<std::string> guesses;
    for (int n = 10000; n < 20000; ++n)
        guesses.push_back(std::to_string(n).substr(1));  // 0000 to 9999
    for (const std::string& answer : guesses) {
        if (answer[0] != '0' + GetParam() || answer.find('0') != std::string::npos ||
            std::set<char>(answer.begin(), answer.end()).size() != 4)
            continue;
        const DigitPositionTable table = tableFor(answer);
        for (const std::string& guess : guesses) {
            ASSERT_EQ(scoreGuess(guess, table), referenceVerdict(answer, guess))
                << "answer " << answer << " guess " << guess;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(LeadingDigit, ScoringExhaustive, testing::Range(1, 10));

}  // namespace
}  // namespace quor6
