#pragma once
// Records made for the tests: a computer-against-computer game played and
// recorded headless, exactly as the game records one, and records written
// entry by entry for the cases a played game never makes. Every record goes
// into a folder of its own that the fixture removes.
#include <cstdint>
#include <string>
#include <vector>

#include "record/Record.h"

class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// Plays `ticks` ticks of the program against itself from the seed, recorded in
// the folder, or until the game ends or reaches turnCap turns; returns the
// record's path. The Model is left as the game stopped.
std::string recordComputerGame(const std::string& folder, std::uint32_t seed, long ticks,
                               int turnCap = 1 << 30);

// Goes on with the recorded game for `ticks` more ticks, appending to it.
void resumeComputerGame(const std::string& path, long ticks);

std::vector<std::uint8_t> readBytes(const std::string& path);
void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

// A header for the seed, with the program on no side, and entries after it.
std::vector<std::uint8_t> encodeRecord(std::uint32_t seed, const std::vector<RecordEntry>& entries);
RecordEntry commandEntry(std::uint64_t tick, CommandKind kind, int side);
// The header alone of a record made under other rules, its check holding.
std::vector<std::uint8_t> headerUnderRules(int rulesVersion);
