#include "game/Node.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "game/Model.h"
#include "game/Random.h"

namespace {

// Node's random directions, on hand-linked nodes.
class NodeDirectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (auto& node : around) {
            node = std::make_unique<Node>(0);
        }
    }
    void TearDown() override { Model::resetSelf(); }

    void link(int slot) {
        centre.neighbors[slot] = around[slot].get();
        ++centre.neighborCount;
    }

    // Every direction the node's pick gives in that many draws.
    static std::set<int> drawn(const Node& node, int (Node::*pick)() const, int draws) {
        std::set<int> seen;
        for (int i = 0; i < draws; ++i) {
            seen.insert((node.*pick)());
        }
        return seen;
    }

    Node centre{0};
    std::unique_ptr<Node> around[kSlotCount];
};

TEST_F(NodeDirectionTest, NoEmptySlotAmongSixNeighbours) {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        link(slot);
    }
    Random::seed(3);
    EXPECT_EQ(drawn(centre, &Node::randomFreeDirection, 200), std::set<int>{-1});
    EXPECT_FALSE(centre.isNeighbor(nullptr));
    EXPECT_TRUE(centre.isNeighbor(around[4].get()));
}

TEST_F(NodeDirectionTest, NoUsedSlotWithoutNeighbours) {
    Random::seed(3);
    EXPECT_EQ(drawn(centre, &Node::randomUsedDirection, 200), std::set<int>{-1});
    EXPECT_TRUE(centre.isNeighbor(nullptr));
    EXPECT_FALSE(centre.isNeighbor(around[0].get()));
}

TEST_F(NodeDirectionTest, DirectionsFindTheOnlyCandidateFromEveryStart) {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (slot != 2) {
            link(slot);
        }
    }
    Random::seed(9);
    EXPECT_EQ(drawn(centre, &Node::randomFreeDirection, 500), std::set<int>{2});
    EXPECT_TRUE(centre.isNeighbor(nullptr));

    Node lonely{0};
    lonely.neighbors[5] = around[5].get();
    lonely.neighborCount = 1;
    EXPECT_EQ(drawn(lonely, &Node::randomUsedDirection, 500), std::set<int>{5});
}

}  // namespace
