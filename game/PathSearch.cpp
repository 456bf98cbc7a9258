
#include "game/Invariant.h"
#include "game/Model.h"
#include "game/Node.h"
#include "game/NodeMap.h"

// Every node enters the queue at most once per search, so the nodeCount
// entries allocated with the map always suffice; a push past them would mean a
// broken search and is dropped rather than written out of bounds.
void NodeMap::enqueue(Node* node) {
    KARVOSSA_ASSERT(queueTail < Model::getSelf()->nodeCount, "the path search queued a node twice");
    if (queueTail >= Model::getSelf()->nodeCount) {
        return;
    }
    queue[queueTail] = node;
    queueTail += 1;
}

// Breadth-first over the neighbour links, keeping the distances in the nodes so
// that a search allocates nothing. A target the search did not reach gives no
// step: the walk back would otherwise follow distances left by earlier
// searches or turn ends and could lead towards a destination no free path
// reaches.
Node* NodeMap::findNextStep(Node* start, Node* target) {
    if (start == nullptr || target == nullptr) {
        return start;
    }
    queueHead = 0;
    queueTail = 0;
    searchDone = false;
    start->distance = 0;
    enqueue(start);

    bool reached = false;
    while (!searchDone) {
        // Entries pushed while this batch runs wait for the next one.
        const int batchEnd = queueTail;
        if (queueHead == batchEnd) {
            searchDone = true;
        }
        for (; !searchDone && queueHead < batchEnd; ++queueHead) {
            Node* entry = queue[queueHead];
            if (entry == target) {
                reached = true;
                searchDone = true;
            } else {
                entry->relax(target);
            }
        }
    }

    Node* step = reached ? target->walkBack() : nullptr;
    const Model* model = Model::getSelf();
    for (int i = 0; i < model->nodeCount; ++i) {
        nodes[i]->distance = kSearchCleared;
    }
    return step;
}

// A node holding a ship is passable only as the target itself.
void Node::relax(const Node* target) {
    NodeMap* map = Model::getSelf()->nodeMap;
    const int offered = distance + 1;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        Node* next = neighbors[slot];
        if (next == nullptr || (next->ship != nullptr && next != target)) {
            continue;
        }
        if (offered < next->distance) {
            next->distance = offered;
            map->enqueue(next);
        }
    }
}

// Called on a reached target: follows strictly smaller distances, lowest slot
// first, down to the node one step from the start. The target at distance 0 is
// the start itself, which has no step.
Node* Node::walkBack() {
    Node* current = this;
    while (current->distance != 1) {
        Node* closer = nullptr;
        for (int slot = 0; slot < kSlotCount && closer == nullptr; ++slot) {
            Node* next = current->neighbors[slot];
            if (next != nullptr && next->distance < current->distance) {
                closer = next;
            }
        }
        if (closer == nullptr) {
            return nullptr;
        }
        current = closer;
    }
    return current;
}
