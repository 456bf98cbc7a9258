#include "game/CommandQueue.h"

#include <algorithm>

void CommandQueue::push(const Command& command) {
    pending_.push_back(command);
}

int CommandQueue::applyDue(std::uint64_t tick) {
    applied_.clear();
    if (pending_.empty()) {
        return 0;
    }
    // Moved out first: applying a command may give rise to new ones.
    due_.clear();
    const auto later = std::stable_partition(pending_.begin(), pending_.end(),
                                             [tick](const Command& c) { return c.tick <= tick; });
    due_.assign(pending_.begin(), later);
    pending_.erase(pending_.begin(), later);
    int applied = 0;
    for (Command command : due_) {
        command.tick = tick;  // a late command is kept as taking effect here
        const bool accepted = applyCommand(command);
        applied_.push_back({command, accepted});
        applied += accepted ? 1 : 0;
    }
    return applied;
}
