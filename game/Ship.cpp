#include "game/Ship.h"

#include "battle/Unit.h"
#include "game/Model.h"
#include "game/Node.h"
#include "game/NodeMap.h"
#include "game/Player.h"

Ship::Ship(Player* shipOwner) : owner(shipOwner) {
    if (!listsBuilt) {
        buildLists();
    }
}

// Every call drops the selection of this ship, whether the move succeeds or
// not: an order consumes the selection.
bool Ship::moveTo(Node* node) {
    Model* model = Model::getSelf();
    if (model->selectedShip == this) {
        model->selectedShip = nullptr;
    }
    if (moved || node == nullptr || node->ship != nullptr) {
        return false;
    }
    if (location == nullptr || !location->isNeighbor(node)) {
        return false;
    }
    location->ship = nullptr;
    location = node;
    node->ship = this;
    moved = true;
    model->report.add(TickEventKind::ShipMoved, model->sideOf(owner), model->indexOf(node));
    if (owner != nullptr) {
        owner->gainNode(node);
    }
    return true;
}

namespace {

// One step along the shortest free path; a missing step simply makes the move
// fail, and the ship keeps its destination for a later turn.
void stepTowardsDestination(Ship* ship) {
    NodeMap* map = Model::getSelf()->nodeMap;
    Node* step = map == nullptr ? nullptr : map->findNextStep(ship->location, ship->destination);
    ship->moveTo(step);
    if (ship->location == ship->destination) {
        ship->destination = nullptr;
    }
}

}  // namespace

void Ship::setDestination(Node* node) {
    destination = node;
    if (moved || node == nullptr) {
        return;
    }
    stepTowardsDestination(this);
}

void Ship::turnMove() {
    const Model* model = Model::getSelf();
    if (model->players == nullptr || owner != model->players[model->currentPlayer]) {
        return;
    }
    moved = false;
    if (destination == nullptr) {
        return;
    }
    stepTowardsDestination(this);
}

// The gain grows with every node of the kind the owner holds anywhere on the
// map, not only with the node the ship stands on.
void Ship::collect(int kind) {
    if (owner == nullptr) {
        return;
    }
    if (kind >= 0 && kind < kUnitKinds) {
        const int gained = unitStock[kind] + owner->kindCounts[kind];
        unitStock[kind] = gained < kStockCap ? gained : kStockCap;
    } else if (kind == kCreditKind) {
        owner->credits += owner->kindCounts[kCreditKind];
    }
}

Unit* Ship::spawnUnit(int kind) {
    if (kind < 0 || kind >= kUnitKinds || unitStock[kind] <= 0) {
        return nullptr;
    }
    unitStock[kind] -= 1;
    return new Unit(kind, owner);
}

int Ship::totalStock() const {
    int total = 0;
    for (const int units : unitStock) {
        total += units;
    }
    return total;
}
