#pragma once
// What the program does next for one side of a battle: move its lane cursor a
// lane towards where it is needed, send a unit into the lane under it, or
// wait. Chosen afresh for every action from the lanes as they stand, so it
// answers at once to what the enemy sends. A side loses when it has neither
// stock nor units left, so the tactics hold every lane the enemy pushes in,
// keep the rest in stock while behind, and send the rest against the enemy
// ship once ahead.
class Battle;
class Lane;
class Ship;
class Unit;

struct BattleAction {
    enum class Kind { Wait, CursorLeft, CursorRight, Deploy };
    Kind kind = Kind::Wait;
    int unitKind = 0;  // the kind sent, for Deploy
};

class BattleTactics {
public:
    // The side of `battle` that `ship` fights for; `ship` is the attacker or
    // the defender.
    BattleTactics(const Battle& battle, const Ship& ship);

    BattleAction next() const;

    // A unit's worth in a fight, from its health and the damage it deals per
    // step; the stock of a ship is worth the sum of fresh units.
    static double worth(const Unit& unit);
    static double stockWorth(const Ship& ship);

private:
    double laneWorth(const Lane& lane, bool ownSide) const;
    int unitsIn(const Lane& lane, bool ownSide) const;
    int ownCursor() const;  // the lane this side's cursor is on
    int neediestLane() const;
    int quietLane() const;
    int bestKindFor(bool againstUnits) const;
    BattleAction towards(int lane, int unitKind) const;

    const Battle& battle_;
    const Ship& ship_;
    const Ship& enemy_;
    bool attackerSide_;
};
