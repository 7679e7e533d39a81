#include "core/turn_queue.h"

#include "core/game_state.h"

namespace quillory {

bool TurnQueue::TurnAllowed(std::int32_t current, std::int32_t requested) {
    const bool currentHorizontal = current == dirRight || current == dirLeft;
    const bool currentVertical = current == dirUp || current == dirDown;
    const bool requestedHorizontal = requested == dirRight || requested == dirLeft;
    const bool requestedVertical = requested == dirUp || requested == dirDown;
    return (requestedVertical && currentHorizontal) || (requestedHorizontal && currentVertical);
}

bool TurnQueue::KeyPressed(std::int32_t requested, std::int32_t& currentDirection) {
    if (!turned_) {
        if (!TurnAllowed(currentDirection, requested)) return false;
        currentDirection = requested;
        turned_ = true;
        return true;
    }
    const std::int32_t before = count_ > 0 ? pending_[count_ - 1] : currentDirection;
    if (count_ == kCapacity || !TurnAllowed(before, requested)) return false;
    pending_[count_++] = requested;
    return true;
}

void TurnQueue::TickDone(std::int32_t& currentDirection) {
    if (count_ == 0) {
        turned_ = false;
        return;
    }
    currentDirection = pending_[0];
    for (std::size_t i = 1; i < count_; ++i) pending_[i - 1] = pending_[i];
    --count_;
    turned_ = true;
}

void TurnQueue::Clear() {
    count_ = 0;
    turned_ = false;
}

}  // namespace quillory
