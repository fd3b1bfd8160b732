#pragma once

#include <cstddef>
#include <deque>
#include <initializer_list>
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

    void queueDraws(std::initializer_list<float> draws);
    void queueDraw(float draw) { draws_.push_back(draw); }
    // The draws that make newSecret produce `digits` (four different digits 1..9).
    void queueSecret(std::string_view digits);
    // A draw that newSecret turns into `digit` (1..9).
    static float drawFor(int digit);

    int reseedCount() const { return reseeds_; }
    int drawCount() const { return draws_taken_; }
    std::size_t pendingDraws() const { return draws_.size(); }
    // 'R' for every reseed and 'D' for every draw, in order.
    const std::string& history() const { return history_; }

  private:
    std::deque<float> draws_;
    std::minstd_rand fallback_{20240607u};
    int reseeds_ = 0;
    int draws_taken_ = 0;
    std::string history_;
};

}  // namespace quor6::fake
