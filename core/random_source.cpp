#include "core/random_source.h"

namespace quor6 {

void ClockSeededRandom::reseedFromClock() {
    // Two puzzles drawn within one clock tick must still differ, so the count of reseeds
    // is mixed in with both clocks.
    const auto [wall, mono] = readClocks_();
    ++reseeds_;
    std::seed_seq seq{static_cast<std::uint32_t>(wall), static_cast<std::uint32_t>(wall >> 32),
                      static_cast<std::uint32_t>(mono), static_cast<std::uint32_t>(mono >> 32),
                      static_cast<std::uint32_t>(reseeds_)};
    engine_.seed(seq);
}

float ClockSeededRandom::nextUnit() {
    // 24 random bits give every representable step of a float below 1 without rounding up to 1.
    const std::uint32_t bits = engine_() >> 8;
    return static_cast<float>(bits) * (1.0f / 16777216.0f);
}

}  // namespace quor6
