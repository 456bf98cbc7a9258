#pragma once
// Anything that gives players' commands once per tick: the computer player
// today, a saved game or a network peer later. runTick asks every source of
// the Model before it applies the tick's commands; a source pushes what it
// gives for that tick into the queue and reads the Model, never writes it.
#include <cstdint>

class CommandQueue;

class CommandSource {
public:
    virtual ~CommandSource() = default;
    virtual void give(std::uint64_t tick, CommandQueue& queue) = 0;
    // Whether it knows its commands for this tick yet: the main loop runs a
    // tick only once every source is ready, so that a network game waits for
    // the other machine. A source that decides on the spot always is.
    virtual bool ready(std::uint64_t) const { return true; }
};
