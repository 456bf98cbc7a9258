#include "support/Invariants.h"

#include <string>
#include <unordered_set>

#include "battle/Battle.h"
#include "battle/Lane.h"
#include "battle/Unit.h"
#include "game/Model.h"
#include "game/Node.h"
#include "game/Player.h"
#include "game/Ship.h"

namespace {

using ShipSet = std::unordered_set<const Ship*>;
using NodeSet = std::unordered_set<const Node*>;

std::string ofPlayer(const char* what, int p) {
    return std::string(what) + " of player " + std::to_string(p);
}

bool isScreen(int screen) {
    return screen == TitleScreen || screen == MapScreen || screen == BattleScreen ||
           screen == EndScreen;
}

std::string brokenNodeOwnership(const Model* model, int p) {
    const Player* player = model->players[p];
    int owned = 0;
    int byKind[kNodeKinds] = {};
    for (int i = 0; i < model->nodeCount; ++i) {
        const Node* node = model->nodes[i];
        if (node->kind < 0 || node->kind >= kNodeKinds) {
            return "kind of node " + std::to_string(i);
        }
        if (node->owner == player) {
            ++owned;
            ++byKind[node->kind];
        }
    }
    if (owned != player->nodeTotal) {
        return ofPlayer("nodeTotal", p);
    }
    for (int k = 0; k < kNodeKinds; ++k) {
        if (byKind[k] != player->kindCounts[k]) {
            return ofPlayer("kindCounts", p);
        }
    }
    NodeSet inList;
    for (int i = 0; i < player->nodeTotal; ++i) {
        if (player->nodes[i]->owner != player || !inList.insert(player->nodes[i]).second) {
            return ofPlayer("node list", p);
        }
    }
    return "";
}

std::string brokenShips(const Model* model, int p, const NodeSet& mapNodes, ShipSet& listed) {
    const Player* player = model->players[p];
    if (player->credits < 0) {
        return ofPlayer("credits", p);
    }
    if (player->shipCount < 0 || player->shipCount > model->nodeCount) {
        return ofPlayer("shipCount", p);
    }
    for (int s = 0; s < player->shipCount; ++s) {
        const Ship* ship = player->ships[s];
        if (ship == nullptr || ship->owner != player || !listed.insert(ship).second) {
            return ofPlayer("ship list", p);
        }
        if (mapNodes.count(ship->location) == 0 || ship->location->ship != ship) {
            return ofPlayer("ship location", p);
        }
        if (ship->destination != nullptr && mapNodes.count(ship->destination) == 0) {
            return ofPlayer("ship destination", p);
        }
        for (const int stock : ship->unitStock) {
            if (stock < 0 || stock > kStockCap) {
                return ofPlayer("unit stock", p);
            }
        }
    }
    return "";
}

// Every ship a node names is a listed ship standing there, and as many nodes
// name one as there are listed ships; with each listed ship naming its own
// node back, no node can hold two.
std::string brokenStanding(const Model* model, const ShipSet& listed) {
    int standing = 0;
    for (int i = 0; i < model->nodeCount; ++i) {
        const Ship* ship = model->nodes[i]->ship;
        if (ship == nullptr) {
            continue;
        }
        ++standing;
        if (listed.count(ship) == 0 || ship->location != model->nodes[i]) {
            return "node " + std::to_string(i) + " names a ship that is not there";
        }
    }
    return standing == static_cast<int>(listed.size()) ? "" : "ships and nodes disagree";
}

// At most one node is highlighted and it is the selectedNode; a selected ship
// belongs to the player on turn and stands on the selectedNode.
std::string brokenSelection(const Model* model, const NodeSet& mapNodes, const ShipSet& listed) {
    int highlighted = 0;
    for (int i = 0; i < model->nodeCount; ++i) {
        highlighted += model->nodes[i]->selected ? 1 : 0;
    }
    const Node* selected = model->selectedNode;
    if (selected == nullptr
            ? highlighted != 0
            : highlighted != 1 || mapNodes.count(selected) == 0 || !selected->selected) {
        return "node highlight and selectedNode disagree";
    }
    const Ship* ship = model->selectedShip;
    if (ship == nullptr) {
        return "";
    }
    if (listed.count(ship) == 0) {
        return "selectedShip is no ship of the game";
    }
    if (ship->owner != model->players[model->currentPlayer] || ship->location != selected) {
        return "selectedShip is not the player on turn's ship on the selectedNode";
    }
    return "";
}

std::string brokenSide(Unit* const* units, int count, int front, const Ship* ship) {
    if (count < 0 || count > kLaneCapacity) {
        return "unit count";
    }
    int foremost = 0;
    for (int i = 0; i < count; ++i) {
        const Unit* unit = units[i];
        if (unit == nullptr || unit->owner != ship->owner || unit->kind < 0 ||
            unit->kind >= kUnitKinds) {
            return "unit list";
        }
        if (unit->position < 0 || unit->position > kLaneLength) {
            return "unit position";
        }
        if (unit->health <= 0 || unit->health > unit->maxHealth) {
            return "unit health";
        }
        foremost = unit->position > foremost ? unit->position : foremost;
    }
    return front == foremost ? "" : "lane front";
}

std::string brokenBattle(const Model* model, const ShipSet& listed) {
    const Battle* battle = model->battle;
    if ((battle != nullptr) != (model->screen == BattleScreen)) {
        return "battle set while screen is not the battle screen, or the reverse";
    }
    if (battle == nullptr) {
        return "";
    }
    if (listed.count(battle->attacker) == 0 || listed.count(battle->defender) == 0 ||
        battle->attacker->owner == battle->defender->owner ||
        !battle->attacker->location->isNeighbor(battle->defender->location)) {
        return "battle ships";
    }
    for (int i = 0; i < kLaneCount; ++i) {
        const Lane* lane = battle->lanes[i];
        if (lane->attackerCursor != (i == battle->attackerLane) ||
            lane->defenderCursor != (i == battle->defenderLane)) {
            return "cursor of lane " + std::to_string(i);
        }
        std::string broken = brokenSide(lane->attackerUnits, lane->attackerCount,
                                        lane->attackerFront, battle->attacker);
        if (broken.empty()) {
            broken = brokenSide(lane->defenderUnits, lane->defenderCount, lane->defenderFront,
                                battle->defender);
        }
        if (!broken.empty()) {
            return broken + " in lane " + std::to_string(i);
        }
    }
    return "";
}

}  // namespace

std::string brokenInvariant(const Model* model) {
    if (!isScreen(model->screen)) {
        return "screen " + std::to_string(model->screen);
    }
    if (model->currentPlayer != 0 && model->currentPlayer != 1) {
        return "currentPlayer " + std::to_string(model->currentPlayer);
    }
    const NodeSet mapNodes(model->nodes, model->nodes + model->nodeCount);
    ShipSet listed;
    for (int p = 0; p < model->playerCount; ++p) {
        std::string broken = brokenNodeOwnership(model, p);
        if (broken.empty()) {
            broken = brokenShips(model, p, mapNodes, listed);
        }
        if (!broken.empty()) {
            return broken;
        }
    }
    std::string broken = brokenStanding(model, listed);
    if (broken.empty()) {
        broken = brokenSelection(model, mapNodes, listed);
    }
    if (broken.empty()) {
        broken = brokenBattle(model, listed);
    }
    return broken;
}
