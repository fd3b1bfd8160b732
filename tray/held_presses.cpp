#include "tray/held_presses.h"

namespace quor6 {

void HeldPresses::receive(int slot, std::uint32_t message) {
    if (holding()) {
        held_.push_back({slot, message});
        return;
    }
    sink_.handleTrayPress(slot, message);
}

void HeldPresses::end() {
    if (depth_ > 0)
        --depth_;
    // Inside a release the loop that is releasing hands on what this handler held, so that a
    // long run of held presses does not nest one handler inside the other.
    if (depth_ == 0 && !releasing_)
        release();
}

void HeldPresses::release() {
    if (holding())
        return;
    // A stepping loop started by a released press releases again from inside: it takes the
    // next messages from the same queue, so the order holds either way.
    const bool outermost = !releasing_;
    releasing_ = true;
    while (next_ < held_.size()) {
        const Press press = held_[next_++];
        sink_.handleTrayPress(press.slot, press.message);
    }
    if (outermost) {
        held_.clear();
        next_ = 0;
        releasing_ = false;
    }
}

}  // namespace quor6
