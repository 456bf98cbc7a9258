#include "game/GrowthWalk.h"

#include <algorithm>

#include "game/Model.h"
#include "game/Node.h"
#include "game/NodeMap.h"
#include "game/Random.h"

namespace {

// After this many fruitless steps a walk accepts nodes with one more neighbour.
constexpr long kFruitlessSteps = 1000000;

// A map needs tens of millions of walk steps, nearly all of them spent while
// no placed node may take a neighbour, so each node keeps, per random start,
// the node that a step from it leads to, and a table of where three such
// steps lead lets the walk cover three draws per memory read.
constexpr int kStepsPerJump = 3;
constexpr int kJumpStarts = kSlotCount * kSlotCount * kSlotCount;

// Node's start slot without floating point or a division: 6 * drawn / 32767
// as a multiplication by a rounded-up reciprocal. The error stays below the
// gap between any 6 * drawn / 32767 and the next whole number, which the check
// below confirms for every possible draw. Forced inline so that unoptimised
// builds, whose tests grow many maps, do not pay a call per walk step.
constexpr std::uint64_t kStartScale = 786457;  // ceil(6 * 2^32 / 32767)

[[gnu::always_inline]] constexpr int startSlot(std::uint32_t state) {
    const auto whole = static_cast<int>((Random::drawOf(state) * kStartScale) >> 32);
    return whole == kSlotCount ? 0 : whole;
}

constexpr bool startSlotMatchesEveryDraw() {
    for (std::uint32_t drawn = 0; drawn <= Random::kMaxDraw; ++drawn) {
        if (startSlot(drawn << 16) != startSlotOf(static_cast<int>(drawn))) {
            return false;
        }
    }
    return true;
}
static_assert(startSlotMatchesEveryDraw(), "the integer start slot must match Node's");

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

}  // namespace

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
        const int slot = node->firstSlotFrom(start, true);
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
            *slot = placed[at]->firstSlotFrom(startSlot(state), false);
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
