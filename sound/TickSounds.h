#pragma once
// What the game is heard doing. runGameTick calls beforeTick and afterTick
// round every tick; the second compares the little of the state that a sound
// answers to, as it was before and after the tick, together with the
// commands the tick applied and the gate's answers, and plays what changed.
// The rules never call it, so a replay, which runs the same ticks, is heard
// too. Cues of one tick are kept until the next, for tests to read.
#include <cstdint>
#include <vector>

#include "battle/Battle.h"
#include "game/Model.h"
#include "sound/Sound.h"

class CommandQueue;

// One effect to play, as afterTick decided.
struct Cue {
    Effect effect = Effect::Refused;
    float pan = 0;   // -1 left .. +1 right
    float gain = 1;  // of the volume
};

// The part of the state the sounds compare. Taking one allocates only when
// the map holds more nodes than at the last take, that is in the first tick.
struct TickPicture {
    void take(const Model& model);

    Screen screen = TitleScreen;
    int currentPlayer = 0;
    const Ship* selectedShip = nullptr;
    const Node* selectedNode = nullptr;
    const Node* destination = nullptr;  // the selected ship's
    int shipCount[kPlayerCount] = {};
    std::vector<int> owners;         // by node: the owning player's index, -1 for none
    std::vector<const Ship*> ships;  // by node: the ship standing there; compared, never read
    const Battle* battle = nullptr;  // compared, never read
    // In battle, by side, 0 attacking and 1 defending:
    int shipHealth[2] = {};
    int cursor[2] = {};
    int units[kLaneCount][2] = {};        // units in each lane
    long laneHealth[kLaneCount][2] = {};  // their health added up
};

class TickSounds {
public:
    static constexpr int kMostCues = 24;  // a tick's cues beyond these are dropped

    void beforeTick(const Model& model);
    // Decides the tick's cues and plays them through sound; also looks after
    // the device now and then.
    void afterTick(const Model& model);

    int cueCount() const { return cueCount_; }
    const Cue& cue(int index) const { return cues_[index]; }
    bool heard(Effect effect) const;  // among the last tick's cues

    Sound sound;  // opened by the entry; the sound key mutes it

private:
    void add(Effect effect, float pan = 0, float gain = 1);
    void addMapCues(const CommandQueue& commands);
    void addRefusal(const CommandQueue& commands);
    void addBattleCues(const Model& model);
    void addLaneCues(const int sent[kLaneCount][2], const long sentHealth[kLaneCount]);
    void addShipHits();
    bool due(std::uint64_t& last, int spacing);

    TickPicture before_;
    TickPicture now_;
    std::uint64_t tick_ = 0;  // the Model's tick after the one heard
    Cue cues_[kMostCues];
    int cueCount_ = 0;
    std::uint64_t lastBlow_[kLaneCount] = {};  // tick of each lane's last blow heard
    std::uint64_t lastHit_[2] = {};            // of each side's ship's last hit heard
    std::uint64_t lastRefusal_ = 0;
};
