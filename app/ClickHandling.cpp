// The map screen's answer to a left click, acting on the node in the clicked cell.
#include "game/Model.h"
#include "game/Node.h"
#include "game/NodeMap.h"
#include "game/Player.h"
#include "game/Ship.h"

namespace {

bool isOwn(const Ship* ship) {
    const Model* model = Model::getSelf();
    return ship->owner == model->players[model->currentPlayer];
}

void clickBesideTheMap() {
    Model* model = Model::getSelf();
    if (model->selectedNode != nullptr || model->selectedShip != nullptr) {
        model->report.add(TickEventKind::SelectionChanged, model->currentPlayer);
    }
    if (model->selectedNode != nullptr) {
        model->selectedNode->setSelected(false);
    }
    if (model->selectedShip != nullptr) {
        model->selectedShip->setDestination(nullptr);
        model->selectedShip = nullptr;
    }
}

void attack(Node* node) {
    Model* model = Model::getSelf();
    Ship* attacker = model->selectedShip;
    const Node* from = model->selectedNode;
    if (attacker->moved || from == nullptr || !node->isNeighbor(from)) {
        return;
    }
    model->startBattle(attacker, node->ship);
}

// Said before the click acts: whether it selects another ship, or otherwise
// selects another node, gives an order or drops the ship, or does nothing.
void reportSelection(const Node* node, const Ship* shipThere) {
    Model* model = Model::getSelf();
    const int side = model->currentPlayer;
    if (shipThere != nullptr && shipThere != model->selectedShip) {
        model->report.add(TickEventKind::ShipSelected, side, model->indexOf(node));
    } else if (node != model->selectedNode || shipThere != model->selectedShip) {
        model->report.add(TickEventKind::SelectionChanged, side, model->indexOf(node));
    }
}

}  // namespace

void NodeMap::handleClick(int cellZ, int cellX) {
    Model* model = Model::getSelf();
    Node* node = findNode(cellZ, cellX);
    if (node == nullptr) {
        clickBesideTheMap();
        return;
    }
    const bool enemyThere = node->ship != nullptr && !isOwn(node->ship);
    if (enemyThere) {
        if (model->selectedShip != nullptr) {
            attack(node);
        }
        return;
    }
    // Read before the order: a ship that steps onto the clicked node at once is
    // not selected again, so an order always leaves no ship selected.
    Ship* shipThere = node->ship;
    reportSelection(node, shipThere);
    node->setSelected(true);
    if (model->selectedShip != nullptr && shipThere == nullptr) {
        model->selectedShip->setDestination(node);
    }
    model->selectedShip = shipThere;
}
