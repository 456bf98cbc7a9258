#include "game/Player.h"

#include "game/Invariant.h"
#include "game/Model.h"
#include "game/Node.h"
#include "game/Ship.h"

namespace {

// Index of entry among the first count entries of list, or -1.
template <typename T>
int indexOf(T* const* list, int count, const T* entry) {
    for (int i = 0; i < count; ++i) {
        if (list[i] == entry) {
            return i;
        }
    }
    return -1;
}

bool countsKind(int kind) {
    return kind >= 0 && kind < kNodeKinds;
}

}  // namespace

// Both lists hold nodeCount entries: every ship stands on a node of its own
// and a player owns at most every node, so neither list can overflow.
Player::Player() {
    const int capacity = Model::getSelf()->nodeCount;
    nodes = new Node*[capacity]();
    ships = new Ship*[capacity]();
}

Player::~Player() {
    for (int i = 0; i < shipCount; ++i) {
        delete ships[i];
    }
    delete[] ships;
    delete[] nodes;
}

void Player::gainNode(Node* node) {
    if (node == nullptr || indexOf(nodes, nodeTotal, node) >= 0) {
        return;
    }
    if (node->owner != nullptr && node->owner != this) {
        node->owner->loseNode(node);
    }
    nodes[nodeTotal] = node;
    if (countsKind(node->kind)) {
        kindCounts[node->kind] += 1;
    }
    nodeTotal += 1;
    node->owner = this;
    Model* model = Model::getSelf();
    model->report.add(TickEventKind::NodeTaken, model->sideOf(this), model->indexOf(node));
}

// A node that is not in the list is left alone: lowering the counts for it
// would break the counts of every later turn.
void Player::loseNode(Node* node) {
    const int index = indexOf(nodes, nodeTotal, node);
    KARVOSSA_ASSERT(index >= 0, "a player can only lose a node it holds");
    if (index < 0) {
        return;
    }
    for (int i = index; i + 1 < nodeTotal; ++i) {
        nodes[i] = nodes[i + 1];
    }
    if (countsKind(node->kind)) {
        kindCounts[node->kind] -= 1;
    }
    nodeTotal -= 1;
    node->owner = nullptr;
}

// The node keeps its owner: a ship bought on a home node that the enemy holds
// stands on an enemy node until it moves.
bool Player::buyShip(Node* node) {
    if (node == nullptr || node->ship != nullptr) {
        return false;
    }
    Ship* ship = new Ship(this);
    ships[shipCount] = ship;
    ship->location = node;
    node->ship = ship;
    shipCount += 1;
    Model* model = Model::getSelf();
    model->report.add(TickEventKind::ShipBought, model->sideOf(this), model->indexOf(node));
    return true;
}

void Player::buyShipAtHome() {
    if (credits < kShipPrice) {
        return;
    }
    if (buyShip(homeNode)) {
        credits -= kShipPrice;
    }
}

void Player::moveShips() {
    for (int i = 0; i < shipCount; ++i) {
        ships[i]->turnMove();
    }
}

void Player::drawShips() {
    for (int i = 0; i < shipCount; ++i) {
        ships[i]->drawAtNode();
    }
}

// A ship that is not in this player's list is left alone, so that the count of
// ships keeps matching the list.
void Player::removeShip(Ship* ship) {
    const int index = indexOf(ships, shipCount, ship);
    KARVOSSA_ASSERT(index >= 0, "a player can only remove a ship it holds");
    if (index < 0) {
        return;
    }
    if (ship->location != nullptr) {
        ship->location->ship = nullptr;
    }
    Model::getSelf()->selectedShip = nullptr;
    delete ship;
    for (int i = index; i + 1 < shipCount; ++i) {
        ships[i] = ships[i + 1];
    }
    shipCount -= 1;
    ships[shipCount] = nullptr;
}
