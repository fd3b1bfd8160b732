#pragma once

#include <cstdint>
#include <random>

namespace quor6 {

// A uniform generator in [0, 1) that can be reseeded from the clock. Injected so that
// tests can script the draws.
class RandomSource {
  public:
    virtual ~RandomSource() = default;
    virtual void reseedFromClock() = 0;
    virtual float nextUnit() = 0;
};

class ClockSeededRandom final : public RandomSource {
  public:
    void reseedFromClock() override;
    float nextUnit() override;

  private:
    std::mt19937 engine_{};
    std::uint64_t reseeds_ = 0;
};

}  // namespace quor6
