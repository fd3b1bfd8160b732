#include "core/history_line.h"

namespace quor6 {

std::string historyLine(int count, std::string_view guess, int strikes, int balls) {
    std::string line = std::to_string(count);
    line += "回目 ";
    line += guess;
    line += ' ';
    line += std::to_string(strikes);
    line += "S ";
    line += std::to_string(balls);
    line += "B ";
    return line;
}

}  // namespace quor6
