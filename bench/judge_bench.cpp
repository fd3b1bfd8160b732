// One press on the sphere icon, from the tray callback through the window object's handlers to
// the fake toolkit's tray and lists. Only the press is timed (manual time): bringing the guess
// back after a verdict, and a fresh window object every few presses so that the history stays
// at the length of one game, happen between the timed presses.
#include <benchmark/benchmark.h>

#include <chrono>
#include <optional>
#include <string>

#include "tests/unit/harness.h"

namespace {

using quor6::kTrue;
using quor6::fake::Harness;

constexpr int kPressesPerGame = 8;
constexpr char kSecret[] = "5139";

enum class Press { Scored, Rejected, Solved, Restore };

// The guess to judge for each kind of press; Solved takes whatever the secret is now.
std::string guessFor(Press press, const Harness& harness) {
    switch (press) {
        case Press::Scored:
            return "1534";  // 1 S 2 B against 5139
        case Press::Rejected:
            return "1134";
        case Press::Solved:
            return harness.state().SecretNumber;
        case Press::Restore:
            return "1534";
    }
    return {};
}

void BM_JudgePress(benchmark::State& state, Press press) {
    std::optional<Harness> harness;
    int pressesInGame = kPressesPerGame;
    for (auto _ : state) {
        if (pressesInGame == kPressesPerGame) {
            harness.emplace();
            harness->start(kSecret);
            pressesInGame = 0;
        }
        ++pressesInGame;
        if (harness->state().VerdictShown == kTrue)
            harness->judge();
        harness->toolkit.window().guess = guessFor(press, *harness);
        if (press == Press::Restore)
            harness->judge();

        const auto started = std::chrono::steady_clock::now();
        harness->judge();
        const auto ended = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(ended - started).count());
    }
    benchmark::DoNotOptimize(harness->toolkit.trayPicture());
}

BENCHMARK_CAPTURE(BM_JudgePress, Scored, Press::Scored)->UseManualTime();
BENCHMARK_CAPTURE(BM_JudgePress, Rejected, Press::Rejected)->UseManualTime();
BENCHMARK_CAPTURE(BM_JudgePress, Solved, Press::Solved)->UseManualTime();
BENCHMARK_CAPTURE(BM_JudgePress, Restore, Press::Restore)->UseManualTime();

}  // namespace
