// scoreGuess against a brute-force reference for every answer and every four-digit guess, and
// the answer 1234 case by case.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "core/verdict.h"

namespace quor6 {
namespace {

DigitPositionTable tableFor(const std::string& answer) {
    DigitPositionTable table;
    for (int p = 1; p <= 4; ++p)
        table.set(answer[static_cast<std::size_t>(p - 1)] - '0', p, true);
    return table;
}

// Straight from the rules of the game, without the table: a repeated character rejects;
// a strike is a digit in its place, a ball a digit of the answer in another place.
class Reference {
  public:
    explicit Reference(const std::string& answer) {
        for (std::size_t i = 0; i < 4; ++i)
            placeOf_[static_cast<std::size_t>(answer[i] - '0')] = static_cast<int>(i);
    }

    Verdict operator()(const std::string& guess) const {
        for (std::size_t i = 0; i < 4; ++i) {
            for (std::size_t j = i + 1; j < 4; ++j) {
                if (guess[i] == guess[j])
                    return {VerdictKind::Rejected, 0, 0};
            }
        }
        Verdict verdict{VerdictKind::Scored, 0, 0};
        for (std::size_t i = 0; i < 4; ++i) {
            const int place = placeOf_[static_cast<std::size_t>(guess[i] - '0')];
            if (place == static_cast<int>(i)) {
                ++verdict.strikes;
            } else if (place >= 0) {
                ++verdict.balls;
            }
        }
        if (verdict.strikes == 4)
            verdict.kind = VerdictKind::Solved;
        return verdict;
    }

  private:
    std::array<int, 10> placeOf_{-1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
};

std::vector<std::string> allGuesses() {
    std::vector<std::string> guesses;
    guesses.reserve(10000);
    for (int n = 0; n < 10000; ++n) {
        std::string guess(4, '0');
        int rest = n;
        for (int i = 3; i >= 0; --i, rest /= 10) {
            guess[static_cast<std::size_t>(i)] = static_cast<char>('0' + rest % 10);
        }
        guesses.push_back(guess);
    }
    return guesses;
}

std::vector<std::string> answersStartingWith(int first) {
    std::vector<std::string> answers;
    for (int b = 1; b <= 9; ++b) {
        for (int c = 1; c <= 9; ++c) {
            for (int d = 1; d <= 9; ++d) {
                if (b == first || c == first || d == first || b == c || b == d || c == d)
                    continue;
                answers.push_back({static_cast<char>('0' + first), static_cast<char>('0' + b),
                                   static_cast<char>('0' + c), static_cast<char>('0' + d)});
            }
        }
    }
    return answers;
}

// One case per leading digit of the answer, so CTest can spread the work over the cores.
class ScoringExhaustive : public testing::TestWithParam<int> {};

TEST_P(ScoringExhaustive, EveryGuessAgainstEveryAnswerMatchesTheRules) {
    static const std::vector<std::string> guesses = allGuesses();
    const std::vector<std::string> answers = answersStartingWith(GetParam());
    ASSERT_EQ(answers.size(), 336u);  // 8 x 7 x 6
    int mismatches = 0;
    for (const std::string& answer : answers) {
        const DigitPositionTable table = tableFor(answer);
        const Reference reference(answer);
        int solved = 0;
        int rejected = 0;
        for (const std::string& guess : guesses) {
            const Verdict actual = scoreGuess(guess, table);
            if (actual.kind == VerdictKind::Solved)
                ++solved;
            if (actual.kind == VerdictKind::Rejected)
                ++rejected;
            if (!(actual == reference(guess)) && ++mismatches <= 10) {
                ADD_FAILURE() << "answer " << answer << " guess " << guess << ": kind "
                              << static_cast<int>(actual.kind) << ", " << actual.strikes << "S "
                              << actual.balls << "B";
            }
        }
        // Exactly one guess finds the answer; the 4,960 with a repeated digit never count.
        EXPECT_EQ(solved, 1) << answer;
        EXPECT_EQ(rejected, 10000 - 10 * 9 * 8 * 7) << answer;
    }
    EXPECT_EQ(mismatches, 0);
}

INSTANTIATE_TEST_SUITE_P(LeadingDigit, ScoringExhaustive, testing::Range(1, 10));

struct EdgeRow {
    const char* guess;
    VerdictKind kind;
    int strikes;
    int balls;
};

class ScoringAgainst1234 : public testing::TestWithParam<EdgeRow> {};

TEST_P(ScoringAgainst1234, GivesTheVerdictOfTheRow) {
    const EdgeRow& row = GetParam();
    EXPECT_EQ(scoreGuess(row.guess, tableFor("1234")), (Verdict{row.kind, row.strikes, row.balls}));
}

INSTANTIATE_TEST_SUITE_P(Rows, ScoringAgainst1234,
                         testing::Values(EdgeRow{"1234", VerdictKind::Solved, 4, 0},
                                         EdgeRow{"4321", VerdictKind::Scored, 0, 4},
                                         EdgeRow{"1243", VerdictKind::Scored, 2, 2},
                                         EdgeRow{"5678", VerdictKind::Scored, 0, 0},
                                         EdgeRow{"1305", VerdictKind::Scored, 1, 1},
                                         EdgeRow{"0123", VerdictKind::Scored, 0, 3},
                                         EdgeRow{"1230", VerdictKind::Scored, 3, 0},
                                         EdgeRow{"1123", VerdictKind::Rejected, 0, 0},
                                         EdgeRow{"1231", VerdictKind::Rejected, 0, 0},
                                         EdgeRow{"1001", VerdictKind::Rejected, 0, 0},
                                         EdgeRow{"0000", VerdictKind::Rejected, 0, 0}));

TEST(Scoring, ReadsOnlyTheTableAndLeavesItAsItWas) {
    DigitPositionTable table = tableFor("5139");
    const DigitPositionTable before = table;
    EXPECT_EQ(scoreGuess("1534", table), (Verdict{VerdictKind::Scored, 1, 2}));
    for (int d = 0; d < DigitPositionTable::kDigits; ++d) {
        for (int p = 0; p < DigitPositionTable::kPositions; ++p) {
            EXPECT_EQ(table.at(d, p), before.at(d, p)) << d << "," << p;
        }
    }
}

TEST(Scoring, AnEmptyTableScoresNothing) {
    EXPECT_EQ(scoreGuess("1234", DigitPositionTable{}), (Verdict{VerdictKind::Scored, 0, 0}));
}

}  // namespace
}  // namespace quor6
