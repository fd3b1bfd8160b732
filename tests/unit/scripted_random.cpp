#include "tests/unit/scripted_random.h"

namespace quor6::fake {

void ScriptedRandom::reseedFromClock() {
    ++reseeds_;
    history_ += 'R';
}

float ScriptedRandom::nextUnit() {
    history_ += 'D';
    if (draws_.empty())  // 24 bits, so that the value stays below 1 as a float
        return static_cast<float>(fallback_() % 16777216u) / 16777216.0f;
    const float draw = draws_.front();
    draws_.pop_front();
    return draw;
}

void ScriptedRandom::queueSecret(std::string_view digits) {
    for (const char c : digits)
        queueDraw(drawFor(c - '0'));
}

}  // namespace quor6::fake
