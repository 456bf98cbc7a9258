#include "game/Node.h"

#include "game/Random.h"
#include "render/Palette.h"

Node::Node() {
    kind = kUnsetKind;
    setMaterial(kUnsetKindColour, kPlainFactors);
    initNode();
}

Node::Node(int nodeKind) {
    setKind(nodeKind);
    initNode();
}

Node::~Node() {
    delete[] neighbors;
}

void Node::initNode() {
    neighbors = new Node*[kSlotCount]();
    neighborCount = 0;
    owner = nullptr;
    baseHeight = 0.0f;
    ship = nullptr;
    gridZ = kUnplacedGrid;
    gridX = kUnplacedGrid;
    distance = kUnvisited;
    selected = false;
    showOwner = false;
    if (!listsBuilt) {
        buildLists();
    }
}

void Node::setKind(int newKind) {
    kind = newKind;
    setMaterial(kindColour(newKind), kPlainFactors);
}

// Each random direction takes exactly one draw, even when no slot qualifies:
// the map growth counts on that to stay in step with the generator.
int Node::randomFreeDirection() const {
    return firstSlotFrom(startSlotOf(Random::draw()), false);
}

int Node::randomUsedDirection() const {
    return firstSlotFrom(startSlotOf(Random::draw()), true);
}

int Node::firstSlotFrom(int start, bool wantUsed) const {
    for (int i = 0; i < kSlotCount; ++i) {
        const int slot = (start + i) % kSlotCount;
        if ((neighbors[slot] != nullptr) == wantUsed) {
            return slot;
        }
    }
    return -1;
}

bool Node::isNeighbor(const Node* node) const {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (neighbors[slot] == node) {
            return true;
        }
    }
    return false;
}
