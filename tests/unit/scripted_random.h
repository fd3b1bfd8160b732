#pragma once

#include <algorithm>
#include <deque>
#include <random>
#include <string>
#include <string_view>

#include "core/random_source.h"

namespace quor6::fake {

// A random source whose draws a test chooses. Once the script runs dry it continues with a
// fixed-seed generator, so that every run of a test draws the same numbers.
class ScriptedRandom final : public RandomSource {
  public:
    void reseedFromClock() override { history_ += 'R'; }
    float nextUnit() override {
        history_ += 'D';
        if (draws_.empty())  // 24 bits, so that the value stays below 1 as a float
            return static_cast<float>(fallback_() % 16777216u) / 16777216.0f;
        const float draw = draws_.front();
        draws_.pop_front();
        return draw;
    }

    void queueDraw(float draw) { draws_.push_back(draw); }
    // The draws that make newSecret produce `digits` (four different digits 1..9): the middle
    // of each digit's ninth.
    void queueSecret(std::string_view digits) {
        for (const char c : digits)
            queueDraw((static_cast<float>(c - '0') - 0.5f) / 9.0f);
    }

    int reseedCount() const {
        return static_cast<int>(std::count(history_.begin(), history_.end(), 'R'));
    }
    // 'R' for every reseed and 'D' for every draw, in order.
    const std::string& history() const { return history_; }

  private:
    std::deque<float> draws_;
    std::minstd_rand fallback_{20240607u};
    std::string history_;
};

}  // namespace quor6::fake
