#include "game/NodeMap.h"

#include <algorithm>
#include <vector>

#include "game/GrowthWalk.h"
#include "game/Model.h"
#include "game/Node.h"
#include "game/Random.h"

namespace {

void checkSlot(int slot) {
    if (slot < 0 || slot >= kSlotCount) {
        raiseFatal(kNeighborOutsideBounds);
    }
}

struct GridBounds {
    int minZ = 0, maxZ = 0, minX = 0, maxX = 0;

    void widen(const Node* node) {
        minZ = std::min(minZ, node->gridZ);
        maxZ = std::max(maxZ, node->gridZ);
        minX = std::min(minX, node->gridX);
        maxX = std::max(maxX, node->gridX);
    }
};

}  // namespace

NodeMap::NodeMap(int count) {
    Model* model = Model::getSelf();
    nodes = model->nodes;
    selector = model->selector;
    generate(count);
    queue = new Node*[count > 0 ? count : 1]();
    queueHead = 0;
    queueTail = 0;
    searchDone = false;
}

NodeMap::~NodeMap() {
    delete[] queue;
}

Node* NodeMap::findNode(int gridZ, int gridX) const {
    if (nodes == nullptr) {
        return nullptr;
    }
    const int count = Model::getSelf()->nodeCount;
    for (int i = 0; i < count; ++i) {
        if (nodes[i]->gridZ == gridZ && nodes[i]->gridX == gridX) {
            return nodes[i];
        }
    }
    return nullptr;
}

void NodeMap::linkNeighbors(Node* node) {
    if (nodes == nullptr) {
        return;
    }
    const int count = Model::getSelf()->nodeCount;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const int z = node->gridZ + kSlotDeltaZ[slot];
        const int x = node->gridX + kSlotDeltaX[slot];
        for (int i = 0; i < count; ++i) {
            Node* other = nodes[i];
            if (other->gridZ != z || other->gridX != x) {
                continue;
            }
            node->neighbors[slot] = other;
            other->neighbors[oppositeSlot(slot)] = node;
            ++node->neighborCount;
            ++other->neighborCount;
        }
    }
}

void NodeMap::generate(int count) {
    // Without a node list, or asked for more nodes than it holds, there is
    // nothing safe to grow beyond what exists.
    if (nodes == nullptr) {
        return;
    }
    count = std::min(count, Model::getSelf()->nodeCount);
    if (count < 1) {
        return;
    }
    std::vector<Node*> pending(nodes, nodes + count - 1);
    Node* seed = nodes[count - 1];
    seed->gridZ = 0;
    seed->gridX = 0;
    GrowthWalk walk(seed, count);
    GridBounds bounds;
    for (int remaining = count - 1; remaining > 0; --remaining) {
        const int picked = std::min(static_cast<int>(randomFraction() * remaining), remaining - 1);
        Node* node = pending[picked];
        int slot = -1;
        const Node* place = walk.walkToPlace(&slot);
        checkSlot(slot);
        node->gridZ = place->gridZ + kSlotDeltaZ[slot];
        node->gridX = place->gridX + kSlotDeltaX[slot];
        linkNeighbors(node);
        walk.addPlaced(node);
        pending.erase(pending.begin() + picked);
        bounds.widen(node);
    }
    Model* model = Model::getSelf();
    model->minGridZ = bounds.minZ;
    model->maxGridZ = bounds.maxZ;
    model->minGridX = bounds.minX;
    model->maxGridX = bounds.maxX;
    model->updateViewFromBounds();
}
