#include "game/Model.h"

#include <cmath>
#include <ctime>
#include <utility>

#include "ai/ComputerPlayer.h"
#include "app/Menu.h"
#include "battle/Battle.h"
#include "game/Node.h"
#include "game/NodeMap.h"
#include "game/Player.h"
#include "game/Random.h"
#include "render/Hud.h"
#include "render/Selector.h"

Model* Model::self = nullptr;

void raiseFatal(const char* message) {
    throw new std::string(message);
}

void Model::resetSelf() {
    Model* doomed = self;
    self = nullptr;
    delete doomed;
}

Model* Model::detachSelf() {
    return std::exchange(self, nullptr);
}

void Model::attachSelf(Model* model) {
    if (self != nullptr) {
        raiseFatal("DETACH THE CURRENT MODEL FIRST");
    }
    self = model;
}

Model::Model() {
    if (self != nullptr) {
        raiseFatal("DO NOT CALL CONSTRUCTOR DIRECTLY. USE Model::getSelf()");
    }
    Random::seed(static_cast<std::uint32_t>(std::time(nullptr)));
}

Model::~Model() {
    for (ComputerPlayer* computer : computers) {
        delete computer;
    }
    delete battle;
    delete menu;
    delete nodeMap;
    delete hud;
    delete selector;
    for (int i = 0; players != nullptr && i < playerCount; ++i) {
        delete players[i];
    }
    delete[] players;
    for (int i = 0; nodes != nullptr && i < nodeCount; ++i) {
        delete nodes[i];
    }
    delete[] nodes;
}

Node** Model::createNodes(int count) {
    nodeCount = count;
    nodes = new Node*[count];
    for (int i = 0; i < count; ++i) {
        const float f = randomFraction();
        const int kind = f >= 1.0f ? kCreditKind : static_cast<int>(f * kNodeKinds);
        nodes[i] = new Node(kind);
    }
    return nodes;
}

Player** Model::createPlayers(int count) {
    if (nodes == nullptr) {
        raiseFatal("Allocate Nodes before Players");
    }
    playerCount = count;
    players = new Player*[count];
    for (int i = 0; i < count; ++i) {
        players[i] = new Player();
        nodes[i]->setKind(kCreditKind);
        players[i]->gainNode(nodes[i]);
        players[i]->homeNode = nodes[i];
        players[i]->buyShip(nodes[i]);
    }
    return players;
}

Selector* Model::createSelector() {
    selector = new Selector();
    return selector;
}

Hud* Model::createHud() {
    hud = new Hud();
    return hud;
}

NodeMap* Model::createNodeMap() {
    nodeMap = new NodeMap(nodeCount);
    return nodeMap;
}

Menu* Model::createMenu() {
    menu = new Menu();
    return menu;
}

void Model::updateViewFromBounds() {
    const float dx = static_cast<float>(maxGridX - minGridX);
    const float dz = static_cast<float>(maxGridZ - minGridZ);
    const float m = dx > dz ? dx : dz;
    viewHeight = std::sqrt(m * 4) * 4;
    mapCenterX = (maxGridX + minGridX) * 0.5f;
    mapCenterZ = (maxGridZ + minGridZ) * 0.5f;
}

bool Model::isComputer(int side) const {
    return side >= 0 && side < kPlayerCount && computers[side] != nullptr;
}

bool Model::isPerson(int side) const {
    return side >= 0 && side < kPlayerCount && !isComputer(side) && !remote[side] && !pace.replay;
}

int Model::networkSide() const {
    if (remote[0] == remote[1]) {
        return -1;
    }
    return remote[0] ? 1 : 0;
}

void Model::addComputer(int side) {
    if (side < 0 || side >= kPlayerCount || computers[side] != nullptr) {
        return;
    }
    computers[side] = new ComputerPlayer(side);
    sources.push_back(computers[side]);
}

void Model::advanceClock() {
    clock = clock >= kClockWrap - kClockPerTick ? clock - (kClockWrap - kClockPerTick)
                                                : clock + kClockPerTick;
}
