#include <gtest/gtest.h>

#include <limits>

#include "game/Model.h"
#include "render/Selector.h"

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

TEST_F(SelectorCursor, IgnoresTheMapCentreAndAPointerWithNoCell) {
    Model::getSelf()->mapCenterX = 10;
    Model::getSelf()->mapCenterZ = -6;
    selector.updateCursor(-0.3f, 0.2f);
    expectCell(1, 1);
    selector.updateCursor(std::numeric_limits<float>::infinity(), 0);
    expectCell(1, 1);
    selector.updateCursor(0, std::numeric_limits<float>::quiet_NaN());
    expectCell(1, 1);
}

}  // namespace
