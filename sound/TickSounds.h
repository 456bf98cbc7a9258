#pragma once
// What the game is heard doing. runGameTick calls afterTick after every tick
// with what the tick did, its TickReport: the commands with the gate's
// answers and the events of the rules; it plays the cues they call for. The
// rules never call it, so a replay, which runs the same ticks, is heard too.
// Cues of one tick are kept until the next, for tests to read.
#include <cstdint>

#include "battle/Battle.h"
#include "game/Model.h"
#include "sound/Sound.h"

class TickReport;

// One effect to play, as afterTick decided.
struct Cue {
    Effect effect = Effect::Refused;
    float pan = 0;   // -1 left .. +1 right
    float gain = 1;  // of the volume
};

class TickSounds {
public:
    static constexpr int kMostCues = 24;  // a tick's cues beyond these are dropped

    TickSounds();

    // Decides the tick's cues and plays them through sound; also looks after
    // the device now and then. The Model is read as the tick left it.
    void afterTick(const TickReport& report, const Model& model);

    int cueCount() const { return cueCount_; }
    const Cue& cue(int index) const { return cues_[index]; }
    bool heard(Effect effect) const;  // among the last tick's cues

    Sound sound;  // opened by the entry; the sound key mutes it

private:
    static constexpr std::uint64_t kNever = UINT64_MAX;  // no sound of the kind yet

    void add(Effect effect, float pan = 0, float gain = 1);
    void addMapCues(const TickReport& report, const Model& model);
    void addRefusal(const TickReport& report);
    void addBattleCues(const TickReport& report, const Model& model);
    void addLaneCues(const TickReport& report);
    void addShipHits(const TickReport& report, const Model& model);
    bool due(std::uint64_t& last, int spacing);

    std::uint64_t tick_ = 0;  // the tick heard
    Cue cues_[kMostCues];
    int cueCount_ = 0;
    std::uint64_t lastBlow_[kLaneCount];  // tick of each lane's last blow heard
    std::uint64_t lastHit_[2];            // of the attacking, then the defending ship's last hit
    std::uint64_t lastRefusal_ = kNever;
};
