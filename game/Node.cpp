#include "game/Node.h"

#include "game/Random.h"
#include "render/Palette.h"

namespace {

// The first slot, from a random start and going round, whose occupancy is wanted.
int randomSlot(Node* const* neighbors, bool wantOccupied) {
    const int start = static_cast<int>(randomFraction() * kSlotCount);
    for (int i = 0; i < kSlotCount; ++i) {
        const int slot = (start + i) % kSlotCount;
        if ((neighbors[slot] != nullptr) == wantOccupied) {
            return slot;
        }
    }
    return -1;
}

}  // namespace

Node::Node() {
    kind = kUnsetKind;
    setMaterial(kUnsetKindColour.r, kUnsetKindColour.g, kUnsetKindColour.b, 1,
                kPlainFactors.specular, kPlainFactors.diffuse, kPlainFactors.ambient);
    initNode();
}

Node::Node(int nodeKind) {
    setKind(nodeKind);
    initNode();
}

Node::~Node() { delete[] neighbors; }

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
    const Colour c = newKind >= 0 && newKind < kNodeKinds ? kKindColours[newKind] : kUnsetKindColour;
    setMaterial(c.r, c.g, c.b, 1, kPlainFactors.specular, kPlainFactors.diffuse,
                kPlainFactors.ambient);
}

int Node::randomFreeDirection() const { return randomSlot(neighbors, false); }

int Node::randomUsedDirection() const { return randomSlot(neighbors, true); }

bool Node::isNeighbor(const Node* node) const {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (neighbors[slot] == node) {
            return true;
        }
    }
    return false;
}
