#pragma once

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
    void reseedFromClock() override;
    float nextUnit() override;

    void queueDraw(float draw) { draws_.push_back(draw); }
    // The draws that make newSecret produce `digits` (four different digits 1..9).
    void queueSecret(std::string_view digits);
    // A draw that newSecret turns into `digit` (1..9): the middle of the digit's ninth.
    static float drawFor(int digit) { return (static_cast<float>(digit) - 0.5f) / 9.0f; }

    int reseedCount() const { return reseeds_; }
    // 'R' for every reseed and 'D' for every draw, in order.
    const std::string& history() const { return history_; }

  private:
    std::deque<float> draws_;
    std::minstd_rand fallback_{20240607u};
    int reseeds_ = 0;
    std::string history_;
};

}  // namespace quor6::fake
