#include "tray/held_messages.h"

namespace quor6 {

void HeldMessages::receive(const WindowMessage& message) {
    if (stopped_)
        return;
    // Behind those that wait, never ahead of them.
    if (holding() || heldCount() > 0) {
        held_.push_back(message);
        return;
    }
    sink_.handleMessage(message);
}

void HeldMessages::release() {
    if (holding())
        return;
    // A message let through may let the rest through itself (a digit it steps yields): it
    // takes them from the same queue, and this loop then finds it empty.
    while (next_ < held_.size()) {
        const WindowMessage message = held_[next_++];  // a copy: the queue may grow meanwhile
        sink_.handleMessage(message);
    }
    held_.clear();
    next_ = 0;
}

}  // namespace quor6
