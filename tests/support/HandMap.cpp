#include "support/HandMap.h"

#include "game/Model.h"
#include "game/Node.h"
#include "game/NodeMap.h"
#include "game/Player.h"
#include "game/Ship.h"
#include "game/Tick.h"
#include "support/World.h"

void HandMap::build(const std::vector<HandCell>& cells) {
    const int count = static_cast<int>(cells.size());
    // The grown layout is discarded, but its growth time should not vary.
    Model* model = buildWorld(1, count);
    for (int i = 0; i < count; ++i) {
        Node* node = model->nodes[i];
        for (int slot = 0; slot < kSlotCount; ++slot) {
            node->neighbors[slot] = nullptr;
        }
        node->neighborCount = 0;
        node->gridZ = kUnplacedGrid;
        node->gridX = kUnplacedGrid;
    }
    // One node at a time, as the growth does, so that every pair is linked once.
    for (int i = 0; i < count; ++i) {
        Node* node = model->nodes[i];
        node->gridZ = cells[i].gridZ;
        node->gridX = cells[i].gridX;
        model->nodeMap->linkNeighbors(node);
    }
}

Node* HandMap::node(int index) {
    return Model::getSelf()->nodes[index];
}

Player* HandMap::player(int index) {
    return Model::getSelf()->players[index];
}

Ship* HandMap::placeShip(int playerIndex, int nodeIndex) {
    Player* owner = player(playerIndex);
    if (!owner->buyShip(node(nodeIndex))) {
        return nullptr;
    }
    return owner->ships[owner->shipCount - 1];
}

void HandMap::removeAllShips() {
    for (int p = 0; p < Model::getSelf()->playerCount; ++p) {
        Player* owner = player(p);
        while (owner->shipCount > 0) {
            owner->removeShip(owner->ships[0]);
        }
    }
}

Command HandMap::command(CommandKind kind, int side, int nodeIndex) {
    Command command;
    command.kind = kind;
    command.side = side;
    command.tick = Model::getSelf()->tick;
    if (nodeIndex >= 0) {
        command.cellZ = node(nodeIndex)->gridZ;
        command.cellX = node(nodeIndex)->gridX;
    }
    return command;
}

const TickReport& HandMap::tickWith(const std::vector<Command>& commands) {
    Model* model = Model::getSelf();
    for (const Command& command : commands) {
        model->commands.push(command);
    }
    runTick();
    return model->report;
}

std::vector<HandCell> HandMap::line(int count) {
    std::vector<HandCell> cells;
    for (int i = 0; i < count; ++i) {
        cells.push_back({2 * i, 0});
    }
    return cells;
}

std::vector<HandCell> HandMap::ring() {
    std::vector<HandCell> cells;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        cells.push_back({kSlotDeltaZ[slot], kSlotDeltaX[slot]});
    }
    return cells;
}

std::vector<HandCell> HandMap::corridor() {
    return {{0, 0}, {2, 0}, {4, 0}, {-1, 1}, {0, 2}, {2, 2}, {4, 2}, {5, 1}};
}

void HandMapTest::build(const std::vector<HandCell>& cells) {
    HandMap::build(cells);
    model = Model::getSelf();
    first = HandMap::player(0);
    second = HandMap::player(1);
}

void HandMapTest::TearDown() {
    Model::resetSelf();
}
