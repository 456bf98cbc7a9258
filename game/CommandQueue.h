#pragma once
// The commands given and not yet applied, in the order they were given. Input
// callbacks and command sources push; runTick applies, before the rules step,
// every command due by that tick, each through applyCommand.
#include <cstdint>
#include <utility>
#include <vector>

#include "game/Command.h"

// A command as the gate answered it.
struct AppliedCommand {
    Command command;
    bool accepted = false;  // carried out; false when the gate dropped it
};

class CommandQueue {
public:
    void push(const Command& command);
    // Applies, in the order given, the commands due at or before `tick`; one
    // that came too late for its own tick takes effect in this one, so that
    // no input is lost. Returns the number carried out.
    int applyDue(std::uint64_t tick);
    bool empty() const { return pending_.empty(); }
    void clear() { pending_.clear(); }
    // Hands over what was given and not applied, leaving the queue empty: a
    // network game takes its own sources' commands this way to send them.
    std::vector<Command> takePending() { return std::exchange(pending_, {}); }
    // What the last applyDue applied, in order, each with the gate's answer:
    // the record keeps the accepted ones, the sounds answer all of them.
    const std::vector<AppliedCommand>& lastApplied() const { return applied_; }

private:
    std::vector<Command> pending_;         // push order; capacity kept between ticks
    std::vector<Command> due_;             // the tick's share, moved out before applying
    std::vector<AppliedCommand> applied_;  // the last applyDue's, until the next one
};
