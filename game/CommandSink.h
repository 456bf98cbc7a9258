#pragma once
// Where a person's commands go when they do not go straight into the queue:
// in a network game they must reach the other machine before either applies
// them, so the input hands them to the network's lockstep instead.

struct Command;

class CommandSink {
public:
    virtual ~CommandSink() = default;
    // A command given between two ticks, stamped with the next tick to run.
    virtual void submit(const Command& command) = 0;
};
