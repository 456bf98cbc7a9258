#include "battle/Battle.h"

#include "battle/Lane.h"
#include "game/Invariant.h"
#include "game/Model.h"
#include "game/Player.h"
#include "game/Ship.h"

// Lane::push never finds a side full in play: a whole stock fits into one lane.
static_assert(kStockCap * kUnitKinds <= kLaneCapacity, "a ship's stock must fit in a lane side");

namespace {

// A side with nothing left to send and nothing left in the lanes.
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

// An exhausted side wears its own ship down, so that a battle always comes to
// an end; the blow comes from no lane.
void wearDown(Ship* ship) {
    ship->health -= kExhaustionDamage;
    Model* model = Model::getSelf();
    model->report.add(TickEventKind::ShipHit, model->sideOf(ship->owner));
}

}  // namespace

Battle::Battle(Ship* attackingShip, Ship* defendingShip) {
    attacker = attackingShip;
    defender = defendingShip;
    for (int i = 0; i < kLaneCount; ++i) {
        lanes[i] = new Lane();
        lanes[i]->index = i;
    }
    attackerLane = 0;
    defenderLane = kLaneCount - 1;
    lanes[attackerLane]->setCursor(true, true);
    lanes[defenderLane]->setCursor(true, false);
}

Battle::~Battle() {
    for (Lane* lane : lanes) {
        delete lane;
    }
}

Ship* Battle::shipOf(const Player* player) const {
    return attacker->owner == player ? attacker : defender;
}

int Battle::cursorOf(const Player* player) const {
    return shipOf(player) == attacker ? attackerLane : defenderLane;
}

// Any ship that is not the attacker fights for the defending side.
void Battle::deploy(Ship* ship, int kind) {
    if (ship == nullptr) {
        return;
    }
    const bool attackerSide = ship == attacker;
    const int laneIndex = attackerSide ? attackerLane : defenderLane;
    Lane* lane = lanes[laneIndex];
    const int sideCount = attackerSide ? lane->attackerCount : lane->defenderCount;
    KARVOSSA_ASSERT(sideCount < kLaneCapacity, "a ship's whole stock fits into one lane side");
    if (sideCount >= kLaneCapacity) {
        return;  // refused before the stock is touched
    }
    Unit* unit = ship->spawnUnit(kind);
    if (unit == nullptr) {
        return;
    }
    lane->push(unit, attackerSide);
    Model* model = Model::getSelf();
    model->report.add(TickEventKind::UnitSent, model->sideOf(ship->owner), -1, laneIndex);
}

void Battle::moveCursor(CursorMove move, bool attackerSide) {
    int& index = attackerSide ? attackerLane : defenderLane;
    int target = index;
    if (move == CursorMove::Left && index > 0) {
        target = index - 1;
    } else if (move == CursorMove::Right && index < kLaneCount - 1) {
        target = index + 1;
    }
    if (target == index) {
        return;
    }
    lanes[index]->setCursor(false, attackerSide);
    index = target;
    lanes[index]->setCursor(true, attackerSide);
}

bool Battle::update() {
    KARVOSSA_ASSERT(!endHandled, "a decided battle is ended before it could step again");
    if (endHandled) {
        return true;
    }
    if (exhausted(attacker, lanes, true)) {
        wearDown(attacker);
    }
    if (exhausted(defender, lanes, false)) {
        wearDown(defender);
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
    for (Lane* lane : lanes) {
        if (battleOver) {
            endHandled = true;
            return true;
        }
        lane->update(*this);
    }
    // A blow in the last lane decides the battle; the next step carries it out.
    return false;
}

void Model::startBattle(Ship* attacker, Ship* defender) {
    KARVOSSA_ASSERT(battle == nullptr, "a second battle would leak the running one");
    KARVOSSA_ASSERT(attacker != nullptr && defender != nullptr, "a missing ship cannot fight");
    if (battle != nullptr || attacker == nullptr || defender == nullptr) {
        return;
    }
    battle = new Battle(attacker, defender);
    screen = BattleScreen;
    report.add(TickEventKind::BattleBegun, sideOf(attacker->owner), indexOf(defender->location));
}

void Model::endBattle(bool defenderLost) {
    KARVOSSA_ASSERT(battle != nullptr, "only a battle that is on can end");
    if (battle == nullptr) {
        return;
    }
    Ship* loser = defenderLost ? battle->defender : battle->attacker;
    report.add(TickEventKind::BattleDecided, sideOf(loser->owner), indexOf(loser->location));
    loser->owner->removeShip(loser);
    delete battle;
    battle = nullptr;
    screen = MapScreen;
}
