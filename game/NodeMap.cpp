#include "game/NodeMap.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "game/Model.h"
#include "game/Node.h"
#include "game/Random.h"

namespace {

// After this many fruitless steps a walk accepts nodes with one more neighbour.
constexpr long kFruitlessSteps = 1000000;

// The slot a random direction starts its round from, exactly as Node picks it:
// the whole part of the draw's fraction times six. The start 6 (draw 32767)
// goes round in the same order as 0, so it is folded onto 0.
constexpr int exactStartSlot(int drawn) {
    return static_cast<int>(Random::fraction(drawn) * kSlotCount) % kSlotCount;
}

// The same start without floating point or a division: 6 * drawn / 32767 as a
// multiplication by a rounded-up reciprocal. The error stays below the gap
// between any 6 * drawn / 32767 and the next whole number, which the check
// below confirms for every possible draw. Forced inline so that unoptimised
// builds, whose tests grow many maps, do not pay a call per walk step.
constexpr std::uint64_t kStartScale = 786457;  // ceil(6 * 2^32 / 32767)

[[gnu::always_inline]] constexpr int startSlot(std::uint32_t state) {
    const auto whole = static_cast<int>((Random::drawOf(state) * kStartScale) >> 32);
    return whole == kSlotCount ? 0 : whole;
}

constexpr bool startSlotMatchesEveryDraw() {
    for (std::uint32_t drawn = 0; drawn <= Random::kMaxDraw; ++drawn) {
        if (startSlot(drawn << 16) != exactStartSlot(static_cast<int>(drawn))) {
            return false;
        }
    }
    return true;
}
static_assert(startSlotMatchesEveryDraw(), "the integer start slot must match the float one");

// The first slot, going round from start, that is empty (wantEmpty) or used.
int firstSlotFrom(const Node* node, int start, bool wantEmpty) {
    for (int i = 0; i < kSlotCount; ++i) {
        const int slot = (start + i) % kSlotCount;
        if ((node->neighbors[slot] == nullptr) == wantEmpty) {
            return slot;
        }
    }
    return -1;
}

void checkSlot(int slot) {
    if (slot < 0 || slot >= kSlotCount) {
        raiseFatal(kNeighborOutsideBounds);
    }
}

// The generator advanced by several steps at once, so that the draws of
// consecutive walk steps are computed side by side instead of one after another.
struct Leap {
    std::uint32_t multiplier = 1;
    std::uint32_t increment = 0;
};

constexpr Leap leapOf(int steps) {
    Leap leap;
    for (int i = 0; i < steps; ++i) {
        leap.multiplier *= Random::kMultiplier;
        leap.increment = leap.increment * Random::kMultiplier + Random::kIncrement;
    }
    return leap;
}

// The growth's walk over the nodes placed so far, numbered in placement order
// (the seed is 0). A map needs tens of millions of walk steps, nearly all of
// them spent while no placed node may take a neighbour, so each node keeps,
// per random start, the node that a step from it leads to, and a table of
// where three such steps lead lets the walk cover three draws per memory read.
// Every draw is still taken, in the generator's order, with the same start
// slot as Node's own random directions: the map and the generator's state
// afterwards are those of stepping through the Node objects one by one.
class GrowthWalk {
public:
    GrowthWalk(Node* seed, int count);

    // Walks from the seed until a node within the threshold has an empty slot;
    // returns it, with that slot in *slot.
    Node* walkToPlace(int* slot);
    // Registers a node that has just been placed and linked.
    void addPlaced(Node* node);

private:
    static constexpr int kStepsPerJump = 3;
    static constexpr int kJumpStarts = kSlotCount * kSlotCount * kSlotCount;

    int numberOf(const Node* node) const;
    void refreshRow(int number);
    int fewestNeighbors() const;
    void rebuildJumps();
    int runSteps(int from, long steps, std::uint32_t* state);

    std::vector<Node*> placed;               // by placement number
    std::vector<int> neighborCounts;         // by placement number
    std::vector<std::uint32_t> stepTargets;  // [number * 6 + start]: number a step leads to
    // [number * 216 + three starts]: number three steps lead to, times 216, so
    // that the next read needs only an addition
    std::vector<std::uint32_t> jumpTargets;
    bool jumpsStale = true;  // a node was placed since the jumps were built
};

GrowthWalk::GrowthWalk(Node* seed, int count)
    : neighborCounts(count), stepTargets(count * kSlotCount), jumpTargets(count * kJumpStarts) {
    placed.reserve(count);
    addPlaced(seed);
}

int GrowthWalk::numberOf(const Node* node) const {
    return static_cast<int>(std::find(placed.begin(), placed.end(), node) - placed.begin());
}

// A node's neighbours never leave, but a new neighbour changes where the
// steps from each start lead, so the rows of the new node and of every node
// beside it are recomputed.
void GrowthWalk::addPlaced(Node* node) {
    placed.push_back(node);
    const int number = static_cast<int>(placed.size()) - 1;
    refreshRow(number);
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (node->neighbors[slot] != nullptr) {
            refreshRow(numberOf(node->neighbors[slot]));
        }
    }
    jumpsStale = true;
}

void GrowthWalk::refreshRow(int number) {
    const Node* node = placed[number];
    neighborCounts[number] = node->neighborCount;
    for (int start = 0; start < kSlotCount; ++start) {
        const int slot = firstSlotFrom(node, start, false);
        // a node without neighbours is never stepped from; it points at itself
        const int target = slot == -1 ? number : numberOf(node->neighbors[slot]);
        stepTargets[number * kSlotCount + start] = static_cast<std::uint32_t>(target);
    }
}

int GrowthWalk::fewestNeighbors() const {
    const int placedCount = static_cast<int>(placed.size());
    return *std::min_element(neighborCounts.begin(), neighborCounts.begin() + placedCount);
}

void GrowthWalk::rebuildJumps() {
    const int placedCount = static_cast<int>(placed.size());
    for (int from = 0; from < placedCount; ++from) {
        for (int starts = 0; starts < kJumpStarts; ++starts) {
            int at = from;
            for (int divisor = kJumpStarts / kSlotCount; divisor > 0; divisor /= kSlotCount) {
                at = stepTargets[at * kSlotCount + starts / divisor % kSlotCount];
            }
            jumpTargets[from * kJumpStarts + starts] = static_cast<std::uint32_t>(at * kJumpStarts);
        }
    }
    jumpsStale = false;
}

// Takes `steps` walk steps from node `from`, none of which can end the walk,
// and returns the node they lead to. The generator's state stays in a local
// for the whole run and goes back through *state.
int GrowthWalk::runSteps(int from, long steps, std::uint32_t* state) {
    if (jumpsStale) {
        rebuildJumps();
    }
    constexpr Leap one = leapOf(1);
    constexpr Leap two = leapOf(2);
    constexpr Leap three = leapOf(3);
    const std::uint32_t* jumps = jumpTargets.data();
    std::uint32_t current = *state;
    std::uint32_t row = static_cast<std::uint32_t>(from * kJumpStarts);
    for (; steps >= kStepsPerJump; steps -= kStepsPerJump) {
        const std::uint32_t first = current * one.multiplier + one.increment;
        const std::uint32_t second = current * two.multiplier + two.increment;
        const std::uint32_t third = current * three.multiplier + three.increment;
        const unsigned starts =
            (startSlot(first) * kSlotCount + startSlot(second)) * kSlotCount + startSlot(third);
        row = jumps[row + starts];
        current = third;
    }
    unsigned at = row / kJumpStarts;
    for (; steps > 0; --steps) {
        current = Random::next(current);
        at = stepTargets[at * kSlotCount + startSlot(current)];
    }
    *state = current;
    return static_cast<int>(at);
}

Node* GrowthWalk::walkToPlace(int* slot) {
    std::uint32_t state = Random::currentState();
    const int fewest = fewestNeighbors();
    int at = 0;
    int threshold = 1;
    long steps = 0;
    for (;;) {
        if (steps > kFruitlessSteps) {
            ++threshold;
            steps = 0;
        }
        if (fewest > threshold) {
            // No node may take a neighbour before the threshold rises, so every
            // remaining step of this threshold is a plain move.
            at = runSteps(at, kFruitlessSteps + 1 - steps, &state);
            steps = kFruitlessSteps + 1;
            continue;
        }
        if (neighborCounts[at] <= threshold) {
            state = Random::next(state);
            *slot = firstSlotFrom(placed[at], startSlot(state), true);
            if (*slot != -1) {
                Random::seed(state);
                return placed[at];
            }
        }
        state = Random::next(state);
        if (neighborCounts[at] == 0) {
            raiseFatal(kNeighborOutsideBounds);
        }
        at = stepTargets[at * kSlotCount + startSlot(state)];
        ++steps;
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
