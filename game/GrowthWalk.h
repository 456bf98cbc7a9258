#pragma once
// The walk that finds where the map grows next: from the seed, one random
// neighbour step at a time, until a node with few enough neighbours has an
// empty slot; the threshold rises after every million fruitless steps.
// It is equivalent to stepping through the Node objects one by one with their
// random directions: every draw is taken, in the generator's order, with
// Node's start slot, so the map and the generator's state afterwards are the
// same. The test GrowthMatchesTheStepByStepWalkNodeForNode in
// tests/game/NodeMapTest.cpp proves it against the plain walk in
// tests/support/ReferenceGrowth.h.
//
// NodeMap::generate makes one walk per growth and, for every node it places,
// calls walkToPlace and then addPlaced.
#include <cstdint>
#include <vector>

class Node;

class GrowthWalk {
public:
    GrowthWalk(Node* seed, int count);  // count: nodes the map will hold

    // Walks from the seed until a node within the threshold has an empty slot;
    // returns it, with that slot in *slot.
    Node* walkToPlace(int* slot);
    // Registers a node that has just been placed and linked.
    void addPlaced(Node* node);

private:
    int numberOf(const Node* node) const;
    void refreshRow(int number);
    int fewestNeighbors() const;
    void rebuildJumps();
    int runSteps(int from, long steps, std::uint32_t* state);

    std::vector<Node*> placed;               // by placement number; the seed is 0
    std::vector<int> neighborCounts;         // by placement number
    std::vector<std::uint32_t> stepTargets;  // [number * 6 + start]: number a step leads to
    // [number * 216 + three starts]: number three steps lead to, times 216, so
    // that the next read needs only an addition
    std::vector<std::uint32_t> jumpTargets;
    bool jumpsStale = true;  // a node was placed since the jumps were built
};
