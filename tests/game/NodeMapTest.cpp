#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <set>
#include <utility>
#include <vector>

#include "game/Model.h"
#include "game/Node.h"
#include "game/NodeMap.h"
#include "game/Random.h"
#include "support/ReferenceMap.h"
#include "support/World.h"

namespace {

constexpr int kMapNodes = 50;
constexpr int kInvariantSeeds = 300;

using Cell = std::pair<int, int>;  // (gridZ, gridX)

class NodeMapTest : public ::testing::Test {
protected:
    void TearDown() override { Model::resetSelf(); }

    // Builds the world as the game does, from a fixed seed, and returns the
    // generator's state at the moment the map starts to grow.
    static std::uint32_t growWorld(std::uint32_t seed, int count) {
        Model* model = buildWorld(seed, count, kPlayersPart | kSelectorPart);
        const std::uint32_t before = Random::currentState();
        model->createNodeMap();
        return before;
    }

    static std::vector<Cell> cellsOf(const Model* model) {
        std::vector<Cell> cells;
        for (int i = 0; i < model->nodeCount; ++i) {
            cells.emplace_back(model->nodes[i]->gridZ, model->nodes[i]->gridX);
        }
        return cells;
    }

    static int indexOf(Node* const* nodes, int count, const Node* node) {
        return node == nullptr ? -1
                               : static_cast<int>(std::find(nodes, nodes + count, node) - nodes);
    }
};

// Every node sits on a cell of the right parity, alone, with its slots linked
// both ways to exactly the nodes at the slot table's offsets.
void expectSoundGrid(const Model* model) {
    const NodeMap* map = model->nodeMap;
    std::set<Cell> cells;
    for (int i = 0; i < model->nodeCount; ++i) {
        const Node* node = model->nodes[i];
        SCOPED_TRACE(testing::Message() << "node " << i);
        ASSERT_NE(node->gridZ, kUnplacedGrid);
        EXPECT_EQ((node->gridZ + node->gridX) % 2, 0);
        EXPECT_TRUE(cells.emplace(node->gridZ, node->gridX).second) << "shares its cell";
        EXPECT_EQ(map->findNode(node->gridZ, node->gridX), node);
        int linked = 0;
        for (int slot = 0; slot < kSlotCount; ++slot) {
            const Node* other = node->neighbors[slot];
            const int z = node->gridZ + kSlotDeltaZ[slot];
            const int x = node->gridX + kSlotDeltaX[slot];
            EXPECT_EQ(other, map->findNode(z, x)) << "slot " << slot;
            if (other != nullptr) {
                ++linked;
                EXPECT_EQ(other->neighbors[oppositeSlot(slot)], node) << "slot " << slot;
            }
        }
        EXPECT_EQ(node->neighborCount, linked);
    }
}

void expectAllReachableFrom(const Node* seed, int count) {
    std::set<const Node*> seen{seed};
    std::vector<const Node*> frontier{seed};
    while (!frontier.empty()) {
        const Node* node = frontier.back();
        frontier.pop_back();
        for (int slot = 0; slot < kSlotCount; ++slot) {
            const Node* other = node->neighbors[slot];
            if (other != nullptr && seen.insert(other).second) {
                frontier.push_back(other);
            }
        }
    }
    EXPECT_EQ(static_cast<int>(seen.size()), count);
}

void expectBoundsAndView(const Model* model) {
    int minZ = 0, maxZ = 0, minX = 0, maxX = 0;
    for (int i = 0; i < model->nodeCount; ++i) {
        minZ = std::min(minZ, model->nodes[i]->gridZ);
        maxZ = std::max(maxZ, model->nodes[i]->gridZ);
        minX = std::min(minX, model->nodes[i]->gridX);
        maxX = std::max(maxX, model->nodes[i]->gridX);
    }
    EXPECT_EQ(model->minGridZ, minZ);
    EXPECT_EQ(model->maxGridZ, maxZ);
    EXPECT_EQ(model->minGridX, minX);
    EXPECT_EQ(model->maxGridX, maxX);
    const float widest = static_cast<float>(std::max(maxX - minX, maxZ - minZ));
    EXPECT_FLOAT_EQ(model->viewHeight, std::sqrt(widest * 4) * 4);
    EXPECT_FLOAT_EQ(model->mapCenterX, (maxX + minX) * 0.5f);
    EXPECT_FLOAT_EQ(model->mapCenterZ, (maxZ + minZ) * 0.5f);
}

TEST_F(NodeMapTest, GrownMapsKeepTheGridInvariantsOverManySeeds) {
    for (std::uint32_t seed = 1; seed <= kInvariantSeeds; ++seed) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        const std::uint32_t before = growWorld(seed, kMapNodes);
        const Model* model = Model::getSelf();
        const Node* seedNode = model->nodes[kMapNodes - 1];
        EXPECT_EQ(seedNode->gridZ, 0);
        EXPECT_EQ(seedNode->gridX, 0);
        // the first placement picks its node with the growth's first draw
        Random::seed(before);
        const int remaining = kMapNodes - 1;
        const int firstPicked =
            std::min(static_cast<int>(randomFraction() * remaining), remaining - 1);
        EXPECT_TRUE(seedNode->isNeighbor(model->nodes[firstPicked]));
        expectSoundGrid(model);
        expectAllReachableFrom(seedNode, kMapNodes);
        expectBoundsAndView(model);
        Model::resetSelf();
        if (HasFailure()) {
            return;
        }
    }
}

// The game's growth against the step-by-step walk over fresh nodes, from the
// same generator state: same cells, same links, same draws consumed.
TEST_F(NodeMapTest, GrowthMatchesTheStepByStepWalkNodeForNode) {
    struct Case {
        int count;
        std::uint32_t firstSeed;
        int seeds;
    };
    for (const Case& c :
         {Case{2, 1, 40}, Case{5, 100, 20}, Case{13, 200, 10}, Case{kMapNodes, 300, 5}}) {
        for (std::uint32_t seed = c.firstSeed; seed < c.firstSeed + c.seeds; ++seed) {
            SCOPED_TRACE(testing::Message() << c.count << " nodes, seed " << seed);
            const std::uint32_t before = growWorld(seed, c.count);
            const std::uint32_t after = Random::currentState();
            const Model* model = Model::getSelf();

            const ReferenceMap walked = growReferenceMap(before, c.count);
            EXPECT_EQ(walked.stateAfter, after);
            if (c.count == kMapNodes) {
                // at least one threshold rise, so the long walks were compared too
                EXPECT_GT(walked.walkSteps, reference::kFruitlessSteps);
            }
            const std::vector<Node*>& fresh = walked.nodes;
            for (int i = 0; i < c.count; ++i) {
                const Node* grown = model->nodes[i];
                SCOPED_TRACE(testing::Message() << "node " << i);
                EXPECT_EQ(grown->gridZ, fresh[i]->gridZ);
                EXPECT_EQ(grown->gridX, fresh[i]->gridX);
                EXPECT_EQ(grown->neighborCount, fresh[i]->neighborCount);
                for (int slot = 0; slot < kSlotCount; ++slot) {
                    EXPECT_EQ(indexOf(model->nodes, c.count, grown->neighbors[slot]),
                              indexOf(fresh.data(), c.count, fresh[i]->neighbors[slot]));
                }
            }
            Model::resetSelf();
            if (HasFailure()) {
                return;
            }
        }
    }
}

TEST_F(NodeMapTest, SameSeedGivesTheSameMapAndNeighbouringSeedsDiffer) {
    growWorld(1234, kMapNodes);
    const std::vector<Cell> first = cellsOf(Model::getSelf());
    Model::resetSelf();
    growWorld(1234, kMapNodes);
    EXPECT_EQ(cellsOf(Model::getSelf()), first);
    // the game seeds with the time in seconds: one second later is another map
    std::vector<std::vector<Cell>> maps{first};
    for (std::uint32_t seed = 1235; seed < 1240; ++seed) {
        Model::resetSelf();
        growWorld(seed, kMapNodes);
        maps.push_back(cellsOf(Model::getSelf()));
    }
    EXPECT_EQ(std::set<std::vector<Cell>>(maps.begin(), maps.end()).size(), maps.size());
}

TEST_F(NodeMapTest, OneNodeMapIsTheSeedAloneAtTheOrigin) {
    Model* model = buildWorld(1, 1, kSelectorPart);
    model->viewHeight = 99;
    model->createNodeMap();
    const Node* seed = model->nodes[0];
    EXPECT_EQ(seed->gridZ, 0);
    EXPECT_EQ(seed->gridX, 0);
    EXPECT_EQ(seed->neighborCount, 0);
    for (int slot = 0; slot < kSlotCount; ++slot) {
        EXPECT_EQ(seed->neighbors[slot], nullptr);
    }
    EXPECT_EQ(model->minGridZ, 0);
    EXPECT_EQ(model->maxGridZ, 0);
    EXPECT_EQ(model->minGridX, 0);
    EXPECT_EQ(model->maxGridX, 0);
    EXPECT_EQ(model->viewHeight, 0);
    EXPECT_EQ(model->mapCenterX, 0);
    EXPECT_EQ(model->mapCenterZ, 0);
}

TEST_F(NodeMapTest, FindNodeGivesNullWhereNoNodeStands) {
    growWorld(77, kMapNodes);
    const Model* model = Model::getSelf();
    const NodeMap* map = model->nodeMap;
    EXPECT_EQ(map->findNode(kUnplacedGrid, kUnplacedGrid), nullptr);
    EXPECT_EQ(map->findNode(model->maxGridZ + 2, 0), nullptr);
    EXPECT_EQ(map->findNode(0, model->minGridX - 2), nullptr);
    EXPECT_EQ(map->findNode(1, 0), nullptr);  // odd cells are never used
    EXPECT_EQ(map->findNode(0, 0), model->nodes[kMapNodes - 1]);
}

TEST_F(NodeMapTest, NoNodeListMeansNothingToGrow) {
    Model* model = Model::getSelf();
    model->createNodeMap();
    EXPECT_EQ(model->nodeMap->findNode(0, 0), nullptr);
    EXPECT_EQ(model->viewHeight, 0);
}

TEST_F(NodeMapTest, GrowsNoMoreNodesThanTheListHolds) {
    const Model* model = buildWorld(5, 4, kSelectorPart);
    NodeMap map(9);
    for (int i = 0; i < 4; ++i) {
        EXPECT_NE(model->nodes[i]->gridZ, kUnplacedGrid);
    }
    EXPECT_NE(map.findNode(0, 0), nullptr);
}

}  // namespace
