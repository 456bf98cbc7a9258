#include "game/CommandQueue.h"

#include <algorithm>

void CommandQueue::push(const Command& command) {
    pending_.push_back(command);
}

void CommandQueue::applyDue(std::uint64_t tick) {
    if (pending_.empty()) {
        return;
    }
    // Moved out first: applying a command may give rise to new ones.
    due_.clear();
    const auto later = std::stable_partition(pending_.begin(), pending_.end(),
                                             [tick](const Command& c) { return c.tick <= tick; });
    due_.assign(pending_.begin(), later);
    pending_.erase(pending_.begin(), later);
    for (const Command& command : due_) {
        applyCommand(command);
    }
}
