#pragma once
// The commands given and not yet applied, in the order they were given. Input
// callbacks and command sources push; runTick applies, before the rules step,
// every command due by that tick, each through applyCommand.
#include <cstdint>
#include <vector>

#include "game/Command.h"

class CommandQueue {
public:
    void push(const Command& command);
    // Applies, in the order given, the commands due at or before `tick`; one
    // that came too late for its own tick takes effect in this one, so that
    // no input is lost. Returns the number carried out.
    int applyDue(std::uint64_t tick);
    bool empty() const { return pending_.empty(); }
    void clear() { pending_.clear(); }

private:
    std::vector<Command> pending_;  // push order; capacity kept between ticks
    std::vector<Command> due_;      // the tick's share, moved out before applying
};
