#pragma once
// A recorded game as plain checked values: who played it, from which seed,
// and its entries in tick order. RecordCodec turns a file's bytes into one
// (or into a one-line reason why they are not one) and entries into bytes;
// nothing else in the game reads a record's bytes.
#include <cstdint>
#include <string>
#include <vector>

#include "game/Command.h"
#include "game/Model.h"

struct RecordHeader {
    std::string gameVersion;           // the program that wrote it
    std::uint32_t seed = 0;            // the map and every random draw
    bool computer[kPlayerCount] = {};  // the sides the program played
    std::uint64_t startTime = 0;       // seconds since 1970, when the game began
};

// A record keeps the low half of each state hash: a game's hashes are many,
// and half of one still makes a chance match of a changed state negligible.
constexpr std::uint64_t kRecordedHashMask = 0xffffffffu;

struct RecordEntry {
    // Desync: the two machines of a network game found their states differ;
    // the game stopped at this entry's tick.
    enum class Kind : std::uint8_t { Command, Hash, Finished, Desync };
    Kind kind = Kind::Command;
    std::uint64_t tick = 0;          // the tick it belongs to; never less than the one before
    Command command;                 // Command: what was applied before the tick stepped
    std::uint64_t hash = 0;          // Hash: Model::stateHash() after the tick, its low half
    int loser = 0;                   // Finished: the player left without nodes
    std::uint64_t mismatchTick = 0;  // Desync: the tick whose states differed; not after tick
};

struct Record {
    RecordHeader header;
    std::vector<RecordEntry> entries;
    // How the bytes ended: the length of the complete part, the running check
    // there (to append after it), and whether a cut-off entry was dropped.
    std::size_t completeBytes = 0;
    std::uint32_t checkState = 0;
    bool cutOff = false;

    bool finished() const;
    std::uint64_t lastTick() const;  // of the last entry; 0 when there is none
};
