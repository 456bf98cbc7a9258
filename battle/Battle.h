#pragma once
// The real-time contest that settles an attack of one ship on another. The
// Model creates it in startBattle and discards it in endBattle; the battle
// screen calls update() and then draw() once per frame while it exists.

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
    void moveCursor(int direction, bool attackerSide);
    void update();
    // The ship the player steers here: the attacker if it is the player's,
    // otherwise the defender.
    Ship* shipOf(const Player* player) const;

    // render/BattleDrawing.cpp
    void draw();

    Ship* attacker = nullptr;  // the ship that started the battle
    Ship* defender = nullptr;  // the ship that was attacked
    Lane* lanes[kLaneCount] = {};
    int attackerLane = 0;               // lane under the attacking side's cursor
    int defenderLane = kLaneCount - 1;  // lane under the defending side's cursor

    // One set of status flags for the whole program: the lanes, which hold no
    // reference to their battle, read and write them.
    static inline bool battleOver = false;    // decided; cleared when a battle is created
    static inline bool endHandled = false;    // endBattle already called for it
    static inline bool defenderLost = false;  // which ship is to be destroyed
};
