// The text of one history line.
#include <gtest/gtest.h>

#include <string>

#include "core/history_line.h"

namespace quor6 {
namespace {

TEST(HistoryLine, ReadsCountLabelGuessStrikesBallsWithATrailingBlank) {
    EXPECT_EQ(historyLine(3, "1243", 2, 2), "3回目 1243 2S 2B ");
    EXPECT_EQ(historyLine(1, "1534", 1, 2), "1回目 1534 1S 2B ");
}

TEST(HistoryLine, IsUtf8WithOneBlankAfterTheLabel) {
    const std::string line = historyLine(1, "5678", 0, 0);
    // 1, 回 (E5 9B 9E), 目 (E7 9B AE), blank, then the guess.
    const std::string expected = "1\xE5\x9B\x9E\xE7\x9B\xAE 5678 0S 0B ";
    EXPECT_EQ(line, expected);
    EXPECT_EQ(line.back(), ' ');
}

TEST(HistoryLine, LongerCountsJustTakeMoreDigits) {
    EXPECT_EQ(historyLine(10, "1234", 0, 4), "10回目 1234 0S 4B ");
    EXPECT_EQ(historyLine(12, "9876", 3, 0), "12回目 9876 3S 0B ");
    EXPECT_EQ(historyLine(105, "1305", 1, 1), "105回目 1305 1S 1B ");
    EXPECT_EQ(historyLine(32767, "4321", 0, 0), "32767回目 4321 0S 0B ");
}

TEST(HistoryLine, KeepsTheGuessAsItStandsZerosIncluded) {
    EXPECT_EQ(historyLine(2, "0123", 0, 3), "2回目 0123 0S 3B ");
}

}  // namespace
}  // namespace quor6
