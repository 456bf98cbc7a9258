#include "ai/MapTactics.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "ai/BattleTactics.h"
#include "game/Model.h"
#include "game/Node.h"
#include "game/Player.h"
#include "game/Ship.h"

namespace {

// What a node is worth to take, in the same coin as what staying collects:
// it counts for its owner's collection at every pair of turns from now on.
constexpr double kFreeNodeWorth = 4;
constexpr double kEnemyNodeWorth = 6;  // taken from the enemy as well
// The enemy's last nodes are worth the game: their worth grows as they dwindle.
constexpr double kLastNodesWorth = 40;
constexpr double kCreditNodeBonus = 1;
constexpr double kBeatableShipWorth = 5;  // a node beside an enemy ship to attack next
constexpr double kUnitWorth = 0.5;        // one unit of stock collected
constexpr double kCreditWorth = 0.4;      // one credit collected
constexpr double kHomeWorth = 20;         // the home node back: without it no ship is bought
// A battle is sought with at least the enemy's worth on board; a node is
// avoided when an enemy ship beside it carries this much more than the ship.
// A side with more ships can afford to trade them: its margins shrink with
// the enemy's share of the ships, down to the least.
constexpr double kAttackMargin = 1;
constexpr double kDangerMargin = 1.5;
constexpr double kLeastMargin = 0.25;
// Credits beyond this buy ships; the ships around the home node make room.
constexpr int kSpareCredits = 2 * kShipPrice;
constexpr int kNodesPerShip = 2;  // ships are bought while there are more nodes than this each

bool isEnemyShip(const Node* node, const Player& player) {
    return node != nullptr && node->ship != nullptr && node->ship->owner != &player;
}

}  // namespace

MapTactics::MapTactics(int side)
    : player_(*Model::getSelf()->players[side]),
      enemy_(*Model::getSelf()->players[(side + 1) % kPlayerCount]) {
    const double share = static_cast<double>(enemy_.shipCount) / std::max(1, player_.shipCount);
    boldness_ = std::max(kLeastMargin, std::min(1.0, share));
}

bool MapTactics::beats(const Ship& attacker, const Ship& defender, double margin) {
    const double own = BattleTactics::stockWorth(attacker);
    const double enemy = BattleTactics::stockWorth(defender);
    if (enemy == 0) {
        return own > 0 || attacker.health >= defender.health;
    }
    return own >= margin * enemy && attacker.health >= defender.health / 2;
}

// Ships need room to move: a map full of them is at a standstill. A ship
// bought on a home node the enemy took would stand on it without taking it
// back, and keep every other ship from doing so.
bool MapTactics::wantsShip() const {
    return player_.credits >= kShipPrice && player_.homeNode->owner == &player_ &&
           player_.shipCount * kNodesPerShip < player_.nodeTotal;
}

bool MapTactics::shouldBuy() const {
    return wantsShip() && player_.homeNode->ship == nullptr;
}

ShipOrder MapTactics::orderFor(const Ship& ship) const {
    if (ship.moved || ship.location == nullptr) {
        return {};
    }
    const ShipOrder attack = attackFor(ship);
    if (attack.kind == ShipOrder::Kind::Attack) {
        return attack;
    }
    const double stay = mustMakeRoom(ship) ? -1 : collectWorth(*ship.location, ship);
    return stepFor(ship, stay);
}

ShipOrder MapTactics::attackFor(const Ship& ship) const {
    ShipOrder order;
    double weakest = -1;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        Node* node = ship.location->neighbors[slot];
        if (!isEnemyShip(node, player_) || !beats(ship, *node->ship, kAttackMargin * boldness_)) {
            continue;
        }
        // The richest beatable ship: its stock is lost to the enemy.
        const double worth = BattleTactics::stockWorth(*node->ship);
        if (worth > weakest) {
            weakest = worth;
            order = {ShipOrder::Kind::Attack, node};
        }
    }
    return order;
}

// A ship on its home node blocks a purchase that is wanted, and with credits
// to spare the ships beside it make room for the bought ones.
bool MapTactics::mustMakeRoom(const Ship& ship) const {
    const Node* home = player_.homeNode;
    if (ship.location == home) {
        return wantsShip();
    }
    if (wantsShip() && player_.credits >= kSpareCredits && home->isNeighbor(ship.location)) {
        return true;
    }
    // A stronger ship beside it with nothing to collect wants to get on.
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const Node* next = ship.location->neighbors[slot];
        const Ship* other = next == nullptr ? nullptr : next->ship;
        if (other != nullptr && other->owner == &player_ &&
            other->totalStock() > ship.totalStock() && collectWorth(*next, *other) == 0) {
            return true;
        }
    }
    return false;
}

// What the ship collects standing on the node at the end of a pair of turns,
// once the node is this side's. Credits count only while there is no ship
// to buy with them yet.
double MapTactics::collectWorth(const Node& node, const Ship& ship) const {
    const int kind = node.kind;
    if (kind == kCreditKind) {
        return player_.credits >= kSpareCredits ? 0
                                                : kCreditWorth * player_.kindCounts[kCreditKind];
    }
    if (kind < 0 || kind >= kUnitKinds) {
        return 0;
    }
    const int room = kStockCap - ship.unitStock[kind];
    return kUnitWorth * std::min(room, player_.kindCounts[kind]);
}

// An enemy ship beside the node could attack a ship standing there and win.
bool MapTactics::threatened(const Node& node, const Ship& ship) const {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const Node* next = node.neighbors[slot];
        if (isEnemyShip(next, player_) && beats(*next->ship, ship, kDangerMargin / boldness_)) {
            return true;
        }
    }
    return false;
}

double MapTactics::targetWorth(const Node& node, const Ship& ship) const {
    double worth = collectWorth(node, ship);
    if (node.owner == nullptr) {
        worth += kFreeNodeWorth;
    } else if (node.owner != &player_) {
        worth += kEnemyNodeWorth + kLastNodesWorth / node.owner->nodeTotal;
    }
    if (node.owner != &player_ && node.kind == kCreditKind) {
        worth += kCreditNodeBonus;
    }
    if (node.owner != &player_ && &node == player_.homeNode) {
        worth += kHomeWorth;
    }
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const Node* next = node.neighbors[slot];
        if (isEnemyShip(next, player_) && beats(ship, *next->ship, kAttackMargin * boldness_)) {
            worth += kBeatableShipWorth;
            break;
        }
    }
    return worth;
}

// The nodes a ship can reach, nearest first, avoiding threatened ones; the
// best, its worth divided by the turns it takes to get there, gives the
// first step. Nodes holding this side's ships are passed through a turn
// later, since those ships move on in time, but never stepped onto or aimed
// at. Staying wins unless some step is worth more.
ShipOrder MapTactics::stepFor(const Ship& ship, double toBeat) const {
    struct Reach {
        int turns;
        Node* node;
        Node* firstStep;
    };
    std::vector<Reach> open{{0, ship.location, nullptr}};
    std::unordered_map<const Node*, int> turns{{ship.location, 0}};
    ShipOrder best;
    double bestWorth = toBeat;
    while (!open.empty()) {
        const auto nearest =
            std::min_element(open.begin(), open.end(),
                             [](const Reach& a, const Reach& b) { return a.turns < b.turns; });
        const Reach from = *nearest;
        open.erase(nearest);
        for (int slot = 0; slot < kSlotCount; ++slot) {
            Node* next = from.node->neighbors[slot];
            if (next == nullptr || isEnemyShip(next, player_) || threatened(*next, ship)) {
                continue;
            }
            const bool ownShip = next->ship != nullptr;
            const int cost = from.turns + (ownShip ? 2 : 1);
            const auto known = turns.find(next);
            if ((ownShip && from.firstStep == nullptr) ||
                (known != turns.end() && known->second <= cost)) {
                continue;
            }
            turns[next] = cost;
            Node* first = from.firstStep == nullptr ? next : from.firstStep;
            open.push_back({cost, next, first});
            if (ownShip) {
                continue;
            }
            const double worth = targetWorth(*next, ship) / cost;
            if (worth > bestWorth) {
                bestWorth = worth;
                best = {ShipOrder::Kind::Step, first};
            }
        }
    }
    // A threatened ship with nothing better to do still gets out of reach.
    if (best.kind == ShipOrder::Kind::Stay && threatened(*ship.location, ship)) {
        for (int slot = 0; slot < kSlotCount; ++slot) {
            Node* next = ship.location->neighbors[slot];
            if (next != nullptr && next->ship == nullptr && !threatened(*next, ship)) {
                return {ShipOrder::Kind::Step, next};
            }
        }
    }
    return best;
}
