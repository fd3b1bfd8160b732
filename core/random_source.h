#pragma once

#include <chrono>
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

// A wall clock and a monotonic clock, read together; a puzzle's seed is drawn from both.
struct ClockReadings {
    std::uint64_t wall;
    std::uint64_t monotonic;
};

// The standard library's clocks. Inline, so that a program that reads its clocks another
// way (the Windows program: the library's clocks would link its exception support into the
// exe) never references them.
inline ClockReadings readStandardClocks() {
    return {
        static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()),
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count())};
}

class ClockSeededRandom final : public RandomSource {
  public:
    using ReadClocks = ClockReadings (*)();
    explicit ClockSeededRandom(ReadClocks readClocks = readStandardClocks)
        : readClocks_(readClocks) {}

    void reseedFromClock() override;
    float nextUnit() override;

  private:
    ReadClocks readClocks_;
    std::mt19937 engine_{};
    std::uint64_t reseeds_ = 0;
};

}  // namespace quor6
