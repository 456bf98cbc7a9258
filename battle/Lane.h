#pragma once
// One of the five lanes of a battle: two opposed lists of units. Each side's
// units walk from their own base end towards the other, halt when the enemy's
// foremost unit is in range and strike it; with no enemy unit in the lane they
// wear down the enemy ship instead.
#include "render/DrawableGeometry.h"

class Battle;
class Unit;

constexpr int kLaneCapacity = 50;
constexpr int kLaneLength = 10000;

class Lane final : public DrawableGeometry {
public:
    // battle/Lane.cpp
    Lane();
    ~Lane();  // destroys the units still in the lane
    void setCursor(bool on, bool attackerSide);
    void push(Unit* unit, bool attackerSide);
    void remove(Unit* unit, bool attackerSide);
    // A blow that brings an enemy ship down marks the battle decided.
    void fight(Unit* unit, bool attackerSide, Battle& battle);
    void update(Battle& battle);

    // render/LaneDrawing.cpp
    void buildLists() override;
    void draw() override;

    Unit** attackerUnits = nullptr;  // attacking side, deployment order; owned
    int attackerCount = 0;
    Unit** defenderUnits = nullptr;  // defending side, deployment order; owned
    int defenderCount = 0;
    int attackerFront = 0;        // greatest attacking position; 0 when none
    int defenderFront = 0;        // greatest defending position; 0 when none
    bool attackerCursor = false;  // the attacking side's cursor is on this lane
    bool defenderCursor = false;
    int index = -1;  // its place in the battle's lanes, set by the battle; -1 for none

    static inline bool listsBuilt = false;
    static inline unsigned laneList = 0;
    static inline unsigned laneHighlightList = 0;
};
