// scoreGuess alone: every four-character guess from 0000 to 9999 (about half repeat a digit
// and are rejected early), and only the 3,024 guesses of four different digits 1..9.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <string>
#include <vector>

#include "core/verdict.h"

namespace {

using quor6::DigitPositionTable;

DigitPositionTable tableFor(const std::string& answer) {
    DigitPositionTable table;
    for (int position = 1; position <= 4; ++position)
        table.set(answer[static_cast<std::size_t>(position - 1)] - '0', position, true);
    return table;
}

std::vector<std::string> everyGuess() {
    std::vector<std::string> guesses;
    guesses.reserve(10000);
    for (int n = 0; n < 10000; ++n) {
        std::string guess(4, '0');
        int rest = n;
        for (std::size_t i = 4; i-- > 0; rest /= 10)
            guess[i] = static_cast<char>('0' + rest % 10);
        guesses.push_back(guess);
    }
    return guesses;
}

std::vector<std::string> guessesOfDifferentDigits() {
    std::vector<std::string> chosen;
    for (const std::string& guess : everyGuess()) {
        bool different = guess.find('0') == std::string::npos;
        for (std::size_t i = 0; different && i < 4; ++i)
            different = guess.find(guess[i], i + 1) == std::string::npos;
        if (different)
            chosen.push_back(guess);
    }
    return chosen;
}

void scoreEach(benchmark::State& state, const std::vector<std::string>& guesses) {
    const DigitPositionTable table = tableFor("5139");
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(quor6::scoreGuess(guesses[next], table));
        if (++next == guesses.size())
            next = 0;
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_ScoreGuess_AllFourCharacterGuesses(benchmark::State& state) {
    static const std::vector<std::string> guesses = everyGuess();
    scoreEach(state, guesses);
}
BENCHMARK(BM_ScoreGuess_AllFourCharacterGuesses);

void BM_ScoreGuess_DifferentDigits(benchmark::State& state) {
    static const std::vector<std::string> guesses = guessesOfDifferentDigits();
    scoreEach(state, guesses);
}
BENCHMARK(BM_ScoreGuess_DifferentDigits);

}  // namespace
