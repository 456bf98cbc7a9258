#include "battle/Lane.h"

#include "battle/Battle.h"
#include "battle/Unit.h"
#include "game/Invariant.h"
#include "game/Model.h"
#include "game/Ship.h"

namespace {

// Walks one unit towards the enemy until the enemy's foremost unit, which
// stands at kLaneLength - enemyFront in this unit's measure, is just in reach.
// A unit never walks back, even when the enemy has come closer than its range.
void advance(Unit* unit, int enemyFront) {
    const int limit = kLaneLength - unit->range - enemyFront;
    if (unit->position + unit->speed <= limit) {
        unit->position += unit->speed;
    } else if (unit->position < limit) {
        unit->position = limit;
    }
}

void advanceSide(Unit* const* units, int count, int enemyFront, int& ownFront) {
    for (int i = 0; i < count; ++i) {
        advance(units[i], enemyFront);
        if (units[i]->position > ownFront) {
            ownFront = units[i]->position;
        }
    }
}

// The foremost unit; the earliest deployed among several at the same place.
Unit* foremost(Unit* const* units, int count) {
    Unit* best = units[0];
    for (int i = 1; i < count; ++i) {
        if (units[i]->position > best->position) {
            best = units[i];
        }
    }
    return best;
}

// Said only while a tick is being reported: the battle steps of the
// benchmarks and of the rule tests cost no lookups.
void report(const Lane* lane, TickEventKind kind, const Player* owner) {
    Model* model = Model::getSelf();
    if (model->report.isOpen()) {
        model->report.add(kind, model->sideOf(owner), -1, lane->index);
    }
}

}  // namespace

Lane::Lane() {
    if (!listsBuilt) {
        buildLists();
    }
    attackerUnits = new Unit*[kLaneCapacity]();
    defenderUnits = new Unit*[kLaneCapacity]();
}

Lane::~Lane() {
    for (int i = 0; i < attackerCount; ++i) {
        delete attackerUnits[i];
    }
    for (int i = 0; i < defenderCount; ++i) {
        delete defenderUnits[i];
    }
    delete[] attackerUnits;
    delete[] defenderUnits;
}

void Lane::setCursor(bool on, bool attackerSide) {
    if (attackerSide) {
        attackerCursor = on;
    } else {
        defenderCursor = on;
    }
}

// The lane owns whatever it is handed. A side cannot fill up in play (a ship
// brings at most 40 units), but a unit that finds no room is destroyed rather
// than written past the end of the list.
void Lane::push(Unit* unit, bool attackerSide) {
    Unit** units = attackerSide ? attackerUnits : defenderUnits;
    int& count = attackerSide ? attackerCount : defenderCount;
    KARVOSSA_ASSERT(count < kLaneCapacity, "a lane side was pushed past its capacity");
    if (count >= kLaneCapacity) {
        delete unit;
        return;
    }
    units[count] = unit;
    ++count;
}

void Lane::remove(Unit* unit, bool attackerSide) {
    Unit** units = attackerSide ? attackerUnits : defenderUnits;
    int& count = attackerSide ? attackerCount : defenderCount;
    int& front = attackerSide ? attackerFront : defenderFront;
    int index = 0;
    while (index < count && units[index] != unit) {
        ++index;
    }
    KARVOSSA_ASSERT(index < count, "a lane can only remove a unit it holds");
    if (index == count) {
        return;
    }
    delete unit;
    for (int i = index; i + 1 < count; ++i) {
        units[i] = units[i + 1];
    }
    --count;
    units[count] = nullptr;
    front = 0;
    for (int i = 0; i < count; ++i) {
        if (units[i]->position > front) {
            front = units[i]->position;
        }
    }
}

void Lane::fight(Unit* unit, bool attackerSide, Battle& battle) {
    Unit* const* enemies = attackerSide ? defenderUnits : attackerUnits;
    const int enemyCount = attackerSide ? defenderCount : attackerCount;
    const int enemyFront = attackerSide ? defenderFront : attackerFront;
    if (enemyCount > 0) {
        if (unit->range + unit->position < kLaneLength - enemyFront) {
            return;
        }
        Unit* target = foremost(enemies, enemyCount);
        const Strike strike = unit->strike(target);
        if (strike == Strike::Waited) {
            return;
        }
        const bool killed = strike == Strike::Killed;
        report(this, killed ? TickEventKind::UnitKilled : TickEventKind::UnitHit, target->owner);
        if (killed) {
            remove(target, !attackerSide);
        }
        return;
    }
    // An open lane lets the unit wear down the enemy ship in every step,
    // wherever it stands and whatever its cooldown.
    Ship* enemyShip = attackerSide ? battle.defender : battle.attacker;
    enemyShip->health -= unit->damage;
    report(this, TickEventKind::ShipHit, enemyShip->owner);
    if (enemyShip->health <= 0) {
        battle.defenderLost = attackerSide;
        battle.battleOver = true;
    }
}

// The defending side moves first and strikes first in every step. Once the
// battle is decided its lanes stand still, whoever calls them.
void Lane::update(Battle& battle) {
    if (battle.battleOver) {
        return;
    }
    advanceSide(defenderUnits, defenderCount, attackerFront, defenderFront);
    advanceSide(attackerUnits, attackerCount, defenderFront, attackerFront);
    for (int i = 0; i < defenderCount; ++i) {
        fight(defenderUnits[i], false, battle);
    }
    for (int i = 0; i < attackerCount; ++i) {
        fight(attackerUnits[i], true, battle);
    }
}
