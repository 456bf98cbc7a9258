#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <set>
#include <utility>

#include "game/Model.h"
#include "game/Node.h"
#include "render/Selector.h"
#include "support/World.h"

namespace {

class SelectorCursor : public ::testing::Test {
protected:
    void SetUp() override { Model::getSelf()->viewHeight = 8; }
    void TearDown() override { Model::resetSelf(); }

    // With viewHeight 8 the pointer lands at (-4 * pointerX, 4 * pointerY) in grid units.
    void pointAt(float pointerGridX, float pointerGridZ) {
        selector.updateCursor(-pointerGridX / 4, pointerGridZ / 4);
    }
    void expectCell(int gridX, int gridZ) const {
        EXPECT_EQ(selector.gridX, gridX);
        EXPECT_EQ(selector.gridZ, gridZ);
    }

    Selector selector;
};

TEST_F(SelectorCursor, MovesToTheRoundedCellUnderThePointer) {
    selector.updateCursor(-0.3f, 0.2f);
    EXPECT_FLOAT_EQ(selector.pointerGridX, 1.2f);
    EXPECT_FLOAT_EQ(selector.pointerGridZ, 0.8f);
    expectCell(1, 1);
}

TEST_F(SelectorCursor, KeepsItsCellWhileTheRoundedSumIsOdd) {
    pointAt(1.2f, 0.8f);
    pointAt(1.2f, 0.2f);
    EXPECT_FLOAT_EQ(selector.pointerGridZ, 0.2f);
    expectCell(1, 1);
    pointAt(-1.2f, 0.2f);  // a negative odd sum
    expectCell(1, 1);
    pointAt(-1.2f, -0.8f);  // a negative even sum
    expectCell(-1, -1);
}

TEST_F(SelectorCursor, RoundsHalvesUpOnBothSidesOfZero) {
    pointAt(1.2f, 0.8f);
    pointAt(-0.5f, 0);
    expectCell(0, 0);
    pointAt(1.5f, 0);
    expectCell(2, 0);
    pointAt(1, -1.5f);
    expectCell(1, -1);
}

TEST_F(SelectorCursor, CountsFromTheMapCentreAndIgnoresAPointerWithNoCell) {
    Model::getSelf()->mapCenterX = 10;
    Model::getSelf()->mapCenterZ = -6;
    selector.updateCursor(-0.3f, 0.2f);
    expectCell(11, -5);
    selector.updateCursor(std::numeric_limits<float>::infinity(), 0);
    expectCell(11, -5);
    selector.updateCursor(0, std::numeric_limits<float>::quiet_NaN());
    expectCell(11, -5);
}

// Maps grow from their seed in any direction; a node the pointer cannot reach
// from inside the window could never be ordered to.
TEST(SelectorReach, APointerSweepOverTheWindowReachesEveryNodeOfGrownMaps) {
    constexpr int kSteps = 160;  // finer than a cell on the widest maps
    for (std::uint32_t seed = 1; seed <= 60; ++seed) {
        const Model* model = buildWorld(seed);
        std::set<std::pair<int, int>> reached;
        for (int step = 0; step <= kSteps * kSteps; ++step) {
            model->selector->updateCursor(1 - 2.0f * (step % kSteps) / kSteps,
                                          2.0f * (step / kSteps) / kSteps - 1);
            reached.emplace(model->selector->gridX, model->selector->gridZ);
        }
        for (int i = 0; i < model->nodeCount; ++i) {
            EXPECT_TRUE(reached.count({model->nodes[i]->gridX, model->nodes[i]->gridZ}))
                << "seed " << seed << ", node " << i;
        }
        Model::resetSelf();
    }
}

}  // namespace
