#include "battle/Battle.h"

#include "battle/Lane.h"
#include "game/Model.h"
#include "game/Player.h"
#include "game/Ship.h"

namespace {

constexpr int kCursorLeft = 0;
constexpr int kCursorRight = 1;

// A side with nothing left to send and nothing left in the lanes wears its
// own ship down, so that a battle always comes to an end.
bool exhausted(const Ship* ship, const Lane* const* lanes, bool attackerSide) {
    if (ship->totalStock() != 0) {
        return false;
    }
    for (int i = 0; i < kLaneCount; ++i) {
        if ((attackerSide ? lanes[i]->attackerCount : lanes[i]->defenderCount) != 0) {
            return false;
        }
    }
    return true;
}

}  // namespace

Battle::Battle(Ship* attackingShip, Ship* defendingShip) {
    attacker = attackingShip;
    defender = defendingShip;
    for (Lane*& lane : lanes) {
        lane = new Lane();
    }
    attackerLane = 0;
    defenderLane = kLaneCount - 1;
    lanes[attackerLane]->setCursor(true, true);
    lanes[defenderLane]->setCursor(true, false);
    endHandled = false;
    battleOver = false;
}

Battle::~Battle() {
    for (Lane* lane : lanes) {
        delete lane;
    }
}

Ship* Battle::shipOf(const Player* player) const {
    return attacker->owner == player ? attacker : defender;
}

// Any ship that is not the attacker fights for the defending side.
void Battle::deploy(Ship* ship, int kind) {
    if (ship == nullptr) {
        return;
    }
    const bool attackerSide = ship == attacker;
    Lane* lane = lanes[attackerSide ? attackerLane : defenderLane];
    const int sideCount = attackerSide ? lane->attackerCount : lane->defenderCount;
    if (sideCount >= kLaneCapacity) {
        return;  // refused before the stock is touched
    }
    Unit* unit = ship->spawnUnit(kind);
    if (unit == nullptr) {
        return;
    }
    lane->push(unit, attackerSide);
}

void Battle::moveCursor(int direction, bool attackerSide) {
    int& index = attackerSide ? attackerLane : defenderLane;
    int target = index;
    if (direction == kCursorLeft && index > 0) {
        target = index - 1;
    } else if (direction == kCursorRight && index < kLaneCount - 1) {
        target = index + 1;
    }
    if (target == index) {
        return;
    }
    lanes[index]->setCursor(false, attackerSide);
    index = target;
    lanes[index]->setCursor(true, attackerSide);
}

void Battle::update() {
    if (exhausted(attacker, lanes, true)) {
        attacker->health -= kExhaustionDamage;
    }
    if (exhausted(defender, lanes, false)) {
        defender->health -= kExhaustionDamage;
    }
    // the defender's test comes last, so when both ships are down the
    // defender's is the one destroyed
    if (attacker->health <= 0) {
        battleOver = true;
        defenderLost = false;
    }
    if (defender->health <= 0) {
        battleOver = true;
        defenderLost = true;
    }
    for (int i = 0; i < kLaneCount; ++i) {
        lanes[i]->update();
        // The lane that carries out the end has destroyed this battle; only
        // the static flags may be read from here on.
        if (endHandled) {
            return;
        }
    }
}

void Model::startBattle(Ship* attacker, Ship* defender) {
    // a second battle would leak the running one; a missing ship cannot fight
    if (battle != nullptr || attacker == nullptr || defender == nullptr) {
        return;
    }
    battle = new Battle(attacker, defender);
    screen = BattleScreen;
}

void Model::endBattle(bool defenderLost) {
    if (battle == nullptr) {
        return;
    }
    Ship* loser = defenderLost ? battle->defender : battle->attacker;
    loser->owner->removeShip(loser);
    delete battle;
    battle = nullptr;
    screen = MapScreen;
}
