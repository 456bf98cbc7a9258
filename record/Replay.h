#pragma once
// Plays a record again without a window, at full speed: from the seed's world
// through every command, checking each recorded hash against the Model's
// after its tick. Verifying a file, resuming a game and showing a replay all
// start here, so that a file is trusted only once it has played through.
#include <cstdint>
#include <string>

#include "record/Record.h"

struct ReplayOutcome {
    bool ok = false;
    std::string error;  // the first thing wrong, in one line
    int turns = 0;
    std::uint64_t ticks = 0;  // ticks run
    std::uint64_t hash = 0;   // Model::stateHash() at the end
    bool finished = false;    // reached the end screen
    int loser = 0;            // when finished
    long hashesChecked = 0;
    bool desynced = false;           // a network game stopped on a mismatch
    std::uint64_t mismatchTick = 0;  // when desynced: the tick the machines disagreed on
};

class Replay {
public:
    // Builds the rules' world from the record's seed in the Model, which must
    // be fresh, and leaves it where the record ends. It runs before any window
    // exists: the nodes, ships and selector it makes compile no display lists,
    // and their classes build them once drawn in a window.
    static ReplayOutcome headless(const Record& record);
    // The same, on the world the game has just created in its window.
    static ReplayOutcome onto(const Record& record);
};
