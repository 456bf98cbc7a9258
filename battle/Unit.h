#pragma once
// One fighter in a lane. Its kind fixes its stats; position is measured from
// its own side's base end of the lane, 0..10000.
#include <cstdint>

#include "render/DrawableGeometry.h"

class Player;

// What one strike did: the striker waited out its cooldown, or hit, or killed.
enum class Strike : std::uint8_t { Waited, Hit, Killed };

struct UnitStats {
    int health, damage, speed, range, cooldown;
};

// Stats by unit kind, 0..3; cooldown is the wait after each hit.
constexpr int kUnitKinds = 4;
constexpr UnitStats kUnitStats[kUnitKinds] = {
    {10000, 100, 3, 200, 5},
    {50000, 10, 1, 100, 5},
    {2000, 50, 5, 1000, 2},
    {10000, 150, 3, 500, 6},
};

class Unit final : public DrawableGeometry {
public:
    // battle/Unit.cpp
    Unit(int unitKind, Player* unitOwner);
    void setKind(int unitKind);
    void setKindColour(int unitKind);
    Strike strike(Unit* target);  // Killed when the target's health is now <= 0

    // render/UnitDrawing.cpp
    void buildLists() override;
    void draw() override;
    void drawAt();

    Player* owner = nullptr;  // owner of the deploying ship; chooses the colour
    int position = 0;         // walked from its own base end, 0..10000; never decreases
    int kind = 0;             // 0..3
    int health = 0;
    int maxHealth = 0;  // health at creation
    int damage = 0;     // per hit on a unit, or per step on the enemy ship
    int speed = 0;      // position gained per step while walking
    int range = 0;      // reach of the attack
    int cooldown = 0;   // steps still to wait before the next hit

    static inline bool listsBuilt = false;
    static inline unsigned unitOwnerFacesList = 0;
    static inline unsigned unitKindFacesList = 0;
    static inline unsigned unitHealthBarList = 0;
};
