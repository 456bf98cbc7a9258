#pragma once
// A game played with another machine: the command line's --host and --join.
// The joiner shakes hands before its window opens, since the world grows
// from the host's seed; the host opens its window and waits on the title (or
// where its resumed game stands) until a machine joins. From then on the
// lockstep runs in the main loop, and the game stops, with one line on
// standard error and status 1, when the other machine goes, sends anything
// malformed, or turns out to play a game that differs.
#include <cstdint>
#include <string>

#include "app/CommandLine.h"
#include "record/Record.h"

class NetworkGame {
public:
    // Before any window: the host listens, the joiner is let in or refused.
    // False once the reason has been told.
    static bool open(const CommandLine& command);
    // The joiner's game as the host sent it, once open() has let it in.
    static std::uint32_t joinedSeed();
    static const Record* joinedRecord();  // a resumed game's; null for a new one
    // After the world is made from `seed`: the joiner brings it up to the
    // host's record, if any, and starts playing; the host, its resumed game
    // (if any) brought up to `resumed`'s end already, starts waiting.
    static void start(std::uint32_t seed, const Record* resumed);
    // The process's exit status, once the main loop has returned.
    static int status();
};
