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

void HeldMessages::close() {
    if (depth_ > 0)
        --depth_;
}

void HeldMessages::release() {
    if (holding() || stopped_)
        return;
    const bool outermost = !releasing_;
    releasing_ = true;
    while (!stopped_ && next_ < held_.size()) {
        const WindowMessage message = held_[next_++];
        sink_.handleMessage(message);
    }
    if (outermost) {
        held_.clear();
        next_ = 0;
        releasing_ = false;
    }
}

void HeldMessages::stop() {
    stopped_ = true;
    next_ = held_.size();
}

}  // namespace quor6
