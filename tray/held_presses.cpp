#include "tray/held_presses.h"

namespace quor6 {

void HeldPresses::receive(int slot, std::uint32_t message) {
    if (stopped_)
        return;
    // Behind those that wait, never ahead of them.
    if (holding() || heldCount() > 0) {
        held_.push_back({slot, message});
        return;
    }
    sink_.handleTrayPress(slot, message);
}

void HeldPresses::close() {
    if (depth_ > 0)
        --depth_;
}

void HeldPresses::settle() {
    if (!releasing_)
        release();
}

void HeldPresses::release() {
    if (holding() || stopped_)
        return;
    // A stepping loop started by a released press releases again from inside: it takes the
    // next messages from the same queue, so the order holds either way.
    const bool outermost = !releasing_;
    releasing_ = true;
    while (!stopped_ && next_ < held_.size()) {
        const Press press = held_[next_++];
        sink_.handleTrayPress(press.slot, press.message);
    }
    if (outermost) {
        held_.clear();
        next_ = 0;
        releasing_ = false;
    }
}

void HeldPresses::stop() {
    stopped_ = true;
    next_ = held_.size();
}

}  // namespace quor6
