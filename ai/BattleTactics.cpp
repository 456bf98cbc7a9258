#include "ai/BattleTactics.h"

#include <initializer_list>

#include "battle/Battle.h"
#include "battle/Lane.h"
#include "battle/Unit.h"
#include "game/Ship.h"

namespace {

// The kinds in the order they are sent: against units the strongest fighter
// first, against the ship the hardest hitter first. Fighting worth
// (health x damage per step): kind 3 leads, then 0, 1 and 2.
constexpr int kFightOrder[kUnitKinds] = {3, 0, 1, 2};
constexpr int kShipOrder[kUnitKinds] = {3, 0, 2, 1};
// Units in a lane strike the enemy's foremost unit together: a lane held with
// twice the enemy's worth loses little while it wins.
constexpr double kHoldRatio = 2;

double fightWorth(int kind, int health) {
    const UnitStats& stats = kUnitStats[kind];
    return static_cast<double>(health) * stats.damage / (stats.cooldown + 1);
}

}  // namespace

BattleTactics::BattleTactics(const Battle& battle, const Ship& ship)
    : battle_(battle),
      ship_(ship),
      enemy_(&ship == battle.attacker ? *battle.defender : *battle.attacker),
      attackerSide_(&ship == battle.attacker) {}

double BattleTactics::worth(const Unit& unit) {
    return fightWorth(unit.kind, unit.health);
}

double BattleTactics::stockWorth(const Ship& ship) {
    double total = 0;
    for (int kind = 0; kind < kUnitKinds; ++kind) {
        total += ship.unitStock[kind] * fightWorth(kind, kUnitStats[kind].health);
    }
    return total;
}

double BattleTactics::laneWorth(const Lane& lane, bool ownSide) const {
    const bool attackers = ownSide == attackerSide_;
    Unit* const* units = attackers ? lane.attackerUnits : lane.defenderUnits;
    const int count = attackers ? lane.attackerCount : lane.defenderCount;
    double total = 0;
    for (int i = 0; i < count; ++i) {
        total += worth(*units[i]);
    }
    return total;
}

int BattleTactics::ownCursor() const {
    return attackerSide_ ? battle_.attackerLane : battle_.defenderLane;
}

int BattleTactics::unitsIn(const Lane& lane, bool ownSide) const {
    return ownSide == attackerSide_ ? lane.attackerCount : lane.defenderCount;
}

// The lane where the enemy is furthest ahead of this side, or -1 when this
// side holds its own everywhere.
int BattleTactics::neediestLane() const {
    int neediest = -1;
    double worstGap = 0;
    for (int i = 0; i < kLaneCount; ++i) {
        const double gap = laneWorth(*battle_.lanes[i], false) - laneWorth(*battle_.lanes[i], true);
        if (unitsIn(*battle_.lanes[i], false) > 0 && gap >= worstGap) {
            neediest = i;
            worstGap = gap;
        }
    }
    return neediest;
}

// The lane nearest the cursor without units of either side: a unit sent
// there wears the enemy ship down from its first step. -1 when there is none.
int BattleTactics::quietLane() const {
    const int cursor = ownCursor();
    for (int distance = 0; distance < kLaneCount; ++distance) {
        for (const int lane : {cursor - distance, cursor + distance}) {
            if (lane >= 0 && lane < kLaneCount && unitsIn(*battle_.lanes[lane], false) == 0 &&
                unitsIn(*battle_.lanes[lane], true) == 0) {
                return lane;
            }
        }
    }
    return -1;
}

int BattleTactics::bestKindFor(bool againstUnits) const {
    for (const int kind : againstUnits ? kFightOrder : kShipOrder) {
        if (ship_.unitStock[kind] > 0) {
            return kind;
        }
    }
    return -1;
}

BattleAction BattleTactics::towards(int lane, int unitKind) const {
    const int cursor = ownCursor();
    BattleAction action;
    if (lane < cursor) {
        action.kind = BattleAction::Kind::CursorLeft;
    } else if (lane > cursor) {
        action.kind = BattleAction::Kind::CursorRight;
    } else {
        action.kind = BattleAction::Kind::Deploy;
        action.unitKind = unitKind;
    }
    return action;
}

BattleAction BattleTactics::next() const {
    const int neediest = neediestLane();
    const int fighter = bestKindFor(true);
    if (neediest >= 0 && fighter >= 0) {
        const Lane& lane = *battle_.lanes[neediest];
        if (laneWorth(lane, true) < kHoldRatio * laneWorth(lane, false)) {
            return towards(neediest, fighter);
        }
    }
    // Nothing to hold. An enemy with neither stock nor units wears itself
    // down; otherwise the side that is ahead in all it has goes for the ship.
    double ownTotal = stockWorth(ship_);
    double enemyTotal = stockWorth(enemy_);
    for (const Lane* lane : battle_.lanes) {
        ownTotal += laneWorth(*lane, true);
        enemyTotal += laneWorth(*lane, false);
    }
    // Units of this side already in the lanes keep the enemy busy; one more
    // adds little, and a side that sends nothing can never be beaten down.
    const int hitter = bestKindFor(false);
    const int quiet = quietLane();
    if (enemyTotal == 0 || ownTotal < enemyTotal || hitter < 0 || quiet < 0 ||
        ownTotal > stockWorth(ship_)) {
        return {};
    }
    return towards(quiet, hitter);
}
