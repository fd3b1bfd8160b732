#include "tests/unit/scripted_random.h"

namespace quor6::fake {

void ScriptedRandom::reseedFromClock() {
    ++reseeds_;
    history_ += 'R';
}

float ScriptedRandom::nextUnit() {
    ++draws_taken_;
    history_ += 'D';
    if (!draws_.empty()) {
        const float draw = draws_.front();
        draws_.pop_front();
        return draw;
    }
    // 24 bits, so the value stays below 1 as a float.
    return static_cast<float>(fallback_() % 16777216u) / 16777216.0f;
}

void ScriptedRandom::queueDraws(std::initializer_list<float> draws) {
    for (const float draw : draws)
        draws_.push_back(draw);
}

void ScriptedRandom::queueSecret(std::string_view digits) {
    for (const char c : digits)
        draws_.push_back(drawFor(c - '0'));
}

float ScriptedRandom::drawFor(int digit) {
    // The middle of the digit's ninth of [0, 1), far from either edge.
    return (static_cast<float>(digit) - 0.5f) / 9.0f;
}

}  // namespace quor6::fake
