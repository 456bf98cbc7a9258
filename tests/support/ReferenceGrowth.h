#pragma once
// The map growth written plainly, step by step as the rules state it: every
// walk step asks the Node objects themselves for a random direction and
// follows the neighbour slot. It is far too slow for the game and is kept as
// the yardstick for the game's growth: the tests compare whole maps against
// it, and the benchmark takes its walk-step count and its time.
#include <algorithm>
#include <vector>

#include "game/Node.h"
#include "game/Random.h"

namespace reference {

constexpr long kFruitlessSteps = 1000000;

// Links a node that has just been placed with every node around it.
inline void linkPlaced(const std::vector<Node*>& nodes, Node* node) {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const int z = node->gridZ + kSlotDeltaZ[slot];
        const int x = node->gridX + kSlotDeltaX[slot];
        for (Node* other : nodes) {
            if (other->gridZ == z && other->gridX == x) {
                node->neighbors[slot] = other;
                other->neighbors[oppositeSlot(slot)] = node;
                ++node->neighborCount;
                ++other->neighborCount;
            }
        }
    }
}

// Grows unplaced, unlinked nodes into a map around the last of them, drawing
// from the game's generator. Returns the number of walk steps taken, that is
// the moves from node to node, each of which took one draw.
inline long growMap(const std::vector<Node*>& nodes) {
    const int count = static_cast<int>(nodes.size());
    if (count < 1) {
        return 0;
    }
    std::vector<Node*> pending(nodes.begin(), nodes.end() - 1);
    Node* seed = nodes.back();
    seed->gridZ = 0;
    seed->gridX = 0;
    long walkSteps = 0;
    for (int remaining = count - 1; remaining > 0; --remaining) {
        const int picked = std::min(static_cast<int>(randomFraction() * remaining), remaining - 1);
        Node* here = seed;
        int threshold = 1;
        long steps = 0;
        int direction = -1;
        for (;;) {
            if (steps > kFruitlessSteps) {
                ++threshold;
                steps = 0;
            }
            if (here->neighborCount <= threshold) {
                direction = here->randomFreeDirection();
                if (direction != -1) {
                    break;
                }
            }
            direction = here->randomUsedDirection();
            here = here->neighbors[direction];
            ++steps;
            ++walkSteps;
        }
        Node* node = pending[picked];
        node->gridZ = here->gridZ + kSlotDeltaZ[direction];
        node->gridX = here->gridX + kSlotDeltaX[direction];
        linkPlaced(nodes, node);
        pending.erase(pending.begin() + picked);
    }
    return walkSteps;
}

}  // namespace reference
