#pragma once
// Two machines of a network game in one process, joined by a FakeLine. Each
// has its own Model and random state, grown from one seed; the program plays
// both sides, each behind its machine's lockstep, and machine 0 leaves the
// title as a key would. Only one Model is current at a time: enter() makes a
// machine's current, leave() sets it aside again.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "support/FakeLine.h"

class Lockstep;
class Model;
class Recorder;

class TwoMachines {
public:
    TwoMachines(std::uint32_t seed, LineQuality quality, int inputDelay = 6);
    ~TwoMachines();
    TwoMachines(const TwoMachines&) = delete;
    TwoMachines& operator=(const TwoMachines&) = delete;

    // 1/60 s of the line's time, and a pass of each machine's loop: what came,
    // its ready ticks (never ahead of the clock, at most 8), what goes out.
    void frame();
    // Frames until both machines have run `ticks` ticks or `frames` passed.
    void playUntil(std::uint64_t ticks, long frames);

    // Each machine records the game into a folder of its own, as the game does.
    void record(const std::string (&folders)[2]);
    // The machine's record, when it keeps one.
    Recorder* recorder(int side) { return recorder_[side].get(); }

    Model* enter(int side);
    void leave(int side);
    Lockstep& lockstep(int side) { return *lockstep_[side]; }
    std::uint64_t ticks(int side) const { return hashes[side].size(); }

    FakeLine line;
    std::vector<std::uint64_t> hashes[2];  // Model::stateHash() after each tick, by tick

private:
    Model* model_[2] = {};
    std::uint32_t random_[2] = {};
    std::unique_ptr<Lockstep> lockstep_[2];
    std::unique_ptr<Recorder> recorder_[2];
    long frames_ = 0;
    std::uint32_t seed_;
};
