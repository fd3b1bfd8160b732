#pragma once

#include <string>
#include <string_view>

namespace quor6 {

// Number of submenu entries that show the newest history lines.
inline constexpr int kHistoryMenuEntries = 10;

// One history line in UTF-8, e.g. "3回目 1243 2S 2B " (every line ends with a blank).
std::string historyLine(int count, std::string_view guess, int strikes, int balls);

}  // namespace quor6
