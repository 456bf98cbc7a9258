#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

#include "game/Model.h"
#include "game/Node.h"
#include "game/NodeMap.h"
#include "game/Player.h"
#include "game/TurnCycle.h"
#include "support/HandMap.h"

// Counts every allocation of this test program, so that a search can be shown
// to allocate nothing.
namespace {
std::atomic<long> allocationCount{0};
}  // namespace

void* operator new(std::size_t size) {
    allocationCount.fetch_add(1, std::memory_order_relaxed);
    if (void* block = std::malloc(size == 0 ? 1 : size)) {
        return block;
    }
    throw std::bad_alloc();
}

void operator delete(void* block) noexcept {
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}

namespace {

Node* nextStep(int start, int target) {
    return Model::getSelf()->nodeMap->findNextStep(HandMap::node(start), HandMap::node(target));
}

void expectAllDistances(int value) {
    const Model* model = Model::getSelf();
    for (int i = 0; i < model->nodeCount; ++i) {
        EXPECT_EQ(model->nodes[i]->distance, value) << "node " << i;
    }
}

class PathSearch : public HandMapTest {};

TEST_F(PathSearch, FirstStepLiesOnAShortestPath) {
    HandMap::build(HandMap::corridor());
    HandMap::removeAllShips();
    EXPECT_EQ(nextStep(0, 2), HandMap::node(1));  // the corridor, not the side path
    EXPECT_EQ(nextStep(2, 0), HandMap::node(1));
    EXPECT_EQ(nextStep(0, 5), HandMap::node(3));
    EXPECT_EQ(nextStep(6, 1), HandMap::node(7));  // round through node 2
}

TEST_F(PathSearch, ANeighbouringTargetIsItselfTheStep) {
    HandMap::build(HandMap::line(4));
    HandMap::removeAllShips();
    EXPECT_EQ(nextStep(1, 2), HandMap::node(2));
    EXPECT_EQ(nextStep(2, 1), HandMap::node(1));
}

TEST_F(PathSearch, TiesGoToTheLowestSlotWalkingBackFromTheTarget) {
    HandMap::build(HandMap::ring());
    HandMap::removeAllShips();
    // Opposite nodes of the ring are three steps apart both ways. From node 4
    // the walk back takes slot 0 (node 5) before slot 2 (node 3), and node 5's
    // slot 1 is node 0; a search that kept the first path it found would go
    // through node 2, which node 1 queues first (its slot 3 before slot 5).
    EXPECT_EQ(nextStep(1, 4), HandMap::node(0));
    EXPECT_EQ(nextStep(4, 1), HandMap::node(3));
    EXPECT_EQ(nextStep(0, 3), HandMap::node(1));
    EXPECT_EQ(nextStep(3, 0), HandMap::node(2));
}

TEST_F(PathSearch, ShipsAreObstaclesExceptOnTheTarget) {
    HandMap::build(HandMap::corridor());
    HandMap::removeAllShips();

    HandMap::placeShip(1, 1);  // blocks the only corridor
    EXPECT_EQ(nextStep(0, 2), HandMap::node(3));
    EXPECT_EQ(nextStep(2, 0), HandMap::node(7));

    // An own ship blocks as well as an enemy one; enemy ownership does not.
    HandMap::player(1)->gainNode(HandMap::node(4));
    HandMap::placeShip(0, 5);
    EXPECT_EQ(nextStep(0, 2), nullptr);

    // A target holding a ship is still reached, at a neighbour or further on.
    EXPECT_EQ(nextStep(0, 1), HandMap::node(1));
    EXPECT_EQ(nextStep(4, 5), HandMap::node(5));
    EXPECT_EQ(nextStep(2, 5), HandMap::node(7));
    EXPECT_EQ(nextStep(3, 5), HandMap::node(4));
    EXPECT_EQ(nextStep(2, 3), nullptr);  // node 5's ship stands between, not on the target
}

TEST_F(PathSearch, TargetEqualToStartGivesNoStep) {
    HandMap::build(HandMap::line(3));
    EXPECT_EQ(nextStep(0, 0), nullptr);
    EXPECT_EQ(nextStep(2, 2), nullptr);
    expectAllDistances(kSearchCleared);
}

TEST_F(PathSearch, NullArgumentsReturnTheStartAndTouchNoDistance) {
    HandMap::build(HandMap::line(3));
    HandMap::node(2)->distance = 17;
    NodeMap* map = Model::getSelf()->nodeMap;
    EXPECT_EQ(map->findNextStep(HandMap::node(0), nullptr), HandMap::node(0));
    EXPECT_EQ(map->findNextStep(nullptr, HandMap::node(1)), nullptr);
    EXPECT_EQ(map->findNextStep(nullptr, nullptr), nullptr);
    EXPECT_EQ(HandMap::node(0)->distance, kUnvisited);
    EXPECT_EQ(HandMap::node(2)->distance, 17);
}

// Line 1 - 0 - 2 - 3 - 4: the ship on node 3 cuts node 4 off from node 0.
// Node 3 is owned, so an end of turn leaves 999999999 in it; node 4 is not,
// so it keeps the 1215752191 of the last search, a larger value, and a walk
// back from node 4 could pass through node 3 to node 2.
class UnreachableTarget : public PathSearch {
protected:
    void SetUp() override {
        HandMap::build({{0, 0}, {-2, 0}, {2, 0}, {4, 0}, {6, 0}});
        HandMap::removeAllShips();
        HandMap::player(1)->gainNode(HandMap::node(3));
        HandMap::placeShip(1, 3);
        nextStep(0, 2);  // any search, leaving its reset value behind
    }
};

TEST_F(UnreachableTarget, GivesNoStepRightAfterAnEndOfTurn) {
    Model::getSelf()->nodeMap->endTurnAll();
    ASSERT_EQ(HandMap::node(3)->distance, kUnvisited);
    ASSERT_EQ(HandMap::node(4)->distance, kSearchCleared);
    EXPECT_EQ(nextStep(0, 4), nullptr);
    expectAllDistances(kSearchCleared);
}

TEST_F(UnreachableTarget, GivesNoStepInLaterSearches) {
    Model::getSelf()->nodeMap->endTurnAll();
    nextStep(0, 2);
    EXPECT_EQ(nextStep(0, 4), nullptr);
    EXPECT_EQ(nextStep(2, 4), nullptr);
}

TEST_F(UnreachableTarget, GivesTheStepOnceThePathOpens) {
    Model::getSelf()->nodeMap->endTurnAll();
    ASSERT_EQ(nextStep(0, 4), nullptr);
    Player* blocker = HandMap::player(1);
    blocker->removeShip(blocker->ships[0]);
    EXPECT_EQ(nextStep(0, 4), HandMap::node(2));
    EXPECT_EQ(nextStep(4, 0), HandMap::node(3));
}

TEST_F(PathSearch, DistancesAreResetAfterEverySearch) {
    HandMap::build(HandMap::corridor());
    HandMap::removeAllShips();
    nextStep(0, 2);
    expectAllDistances(kSearchCleared);
    Model::getSelf()->nodeMap->endTurnAll();  // owned homes 0 and 1 take 999999999
    EXPECT_EQ(HandMap::node(0)->distance, kUnvisited);
    nextStep(5, 6);
    expectAllDistances(kSearchCleared);
    HandMap::placeShip(0, 1);
    nextStep(0, 2);  // found around the ship
    expectAllDistances(kSearchCleared);
    nextStep(0, 0);
    expectAllDistances(kSearchCleared);
}

TEST_F(PathSearch, SearchesAllocateNothingAndQueueEveryNodeAtMostOnce) {
    // The centre, node 6, touches every node of the ring, so most targets are
    // reached from several nodes at the same distance; each must still enter
    // the queue only once, which is what lets nodeCount entries suffice.
    std::vector<HandCell> cells = HandMap::ring();
    cells.push_back({0, 0});
    HandMap::build(cells);
    HandMap::removeAllShips();
    NodeMap* map = Model::getSelf()->nodeMap;
    Node** const queue = map->queue;
    const int nodeCount = Model::getSelf()->nodeCount;

    const long before = allocationCount.load();
    for (int start = 0; start < nodeCount; ++start) {
        for (int target = 0; target < nodeCount; ++target) {
            nextStep(start, target);
            ASSERT_LE(map->queueTail, nodeCount);
            for (int a = 0; a < map->queueTail; ++a) {
                for (int b = a + 1; b < map->queueTail; ++b) {
                    EXPECT_NE(map->queue[a], map->queue[b]) << start << " to " << target;
                }
            }
        }
    }
    EXPECT_EQ(allocationCount.load(), before);
    EXPECT_EQ(map->queue, queue);
}

TEST_F(PathSearch, TheCountingAllocatorSeesAnAllocation) {
    // Guards the test above against a counter that never moves.
    const long before = allocationCount.load();
    // An explicit call, since an optimiser may drop a new-expression's allocation.
    ::operator delete(::operator new(sizeof(int)));
    EXPECT_GT(allocationCount.load(), before);
}

}  // namespace
