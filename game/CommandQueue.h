#pragma once
// The commands given and not yet applied, in the order they were given. Input
// callbacks and command sources push; runTick applies, before the rules step,
// every command due by that tick, each through applyCommand, which tells the
// Model's TickReport the gate's answer.
#include <cstdint>
#include <utility>
#include <vector>

#include "game/Command.h"

class CommandQueue {
public:
    void push(const Command& command);
    // Applies, in the order given, the commands due at or before `tick`; one
    // that came too late for its own tick takes effect in this one, so that
    // no input is lost.
    void applyDue(std::uint64_t tick);
    // Hands over what was given and not applied, leaving the queue empty: a
    // network game takes its own sources' commands this way to send them.
    std::vector<Command> takePending() { return std::exchange(pending_, {}); }

private:
    std::vector<Command> pending_;  // push order; capacity kept between ticks
    std::vector<Command> due_;      // the tick's share, moved out before applying
};
