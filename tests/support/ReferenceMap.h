#pragma once
// The map the plain walk of ReferenceGrowth.h grows over fresh nodes from a
// given generator state: what the game's growth from that state must give,
// node for node and draw for draw. The growth test compares against it, the
// growth benchmark takes its walk-step count and its time.
#include <cstdint>
#include <memory>
#include <vector>

#include "game/Node.h"
#include "game/Random.h"
#include "support/ReferenceGrowth.h"

struct ReferenceMap {
    std::vector<std::unique_ptr<Node>> owned;
    std::vector<Node*> nodes;      // in creation order, like the Model's
    long walkSteps = 0;            // moves from node to node, one draw each
    std::uint32_t stateAfter = 0;  // the generator's state once the map stands
};

inline ReferenceMap growReferenceMap(std::uint32_t state, int nodeCount) {
    ReferenceMap map;
    for (int i = 0; i < nodeCount; ++i) {
        map.owned.push_back(std::make_unique<Node>(0));
        map.nodes.push_back(map.owned.back().get());
    }
    Random::seed(state);
    map.walkSteps = reference::growMap(map.nodes);
    map.stateAfter = Random::currentState();
    return map;
}
