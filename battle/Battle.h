#pragma once
// The real-time contest that settles an attack of one ship on another. The
// Model creates it in startBattle; every tick calls update() once, and the
// tick whose update() reports the battle decided calls endBattle, which
// discards it. The battle screen draws it in every frame while it exists.
#include "game/Command.h"

class Lane;
class Player;
class Ship;

constexpr int kLaneCount = 5;
constexpr int kExhaustionDamage = 10000;

class Battle {
public:
    // battle/Battle.cpp
    Battle(Ship* attackingShip, Ship* defendingShip);
    ~Battle();  // destroys the lanes and the units in them
    Battle(const Battle&) = delete;
    Battle& operator=(const Battle&) = delete;
    void deploy(Ship* ship, int kind);
    void moveCursor(CursorMove move, bool attackerSide);
    // One step: the exhaustion tests, then the lanes in order. True once the
    // battle is decided, and the caller then ends it; a lane that finds it
    // decided stops the step there, so later lanes do not fight in it.
    bool update();
    // The ship the player steers here: the attacker if it is the player's,
    // otherwise the defender.
    Ship* shipOf(const Player* player) const;
    // The lane under the cursor of the side the player steers.
    int cursorOf(const Player* player) const;

    // render/BattleDrawing.cpp
    void draw();

    Ship* attacker = nullptr;  // the ship that started the battle
    Ship* defender = nullptr;  // the ship that was attacked
    Lane* lanes[kLaneCount] = {};
    int attackerLane = 0;               // lane under the attacking side's cursor
    int defenderLane = kLaneCount - 1;  // lane under the defending side's cursor

    bool battleOver = false;    // a ship is down; set by the step or a lane's blow
    bool endHandled = false;    // update() has reported the decision
    bool defenderLost = false;  // which ship is to be destroyed, once battleOver
};
