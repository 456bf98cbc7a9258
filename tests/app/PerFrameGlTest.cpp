// Once a screen is showing, drawing it again creates nothing: no memory from
// operator new, no GLU quadric, no display-list id and no list compilation.
// Every list is built with the first object of its class and the coin quadric
// with the panels; a frame only replays them. The screens are those of a game
// in progress (support/PerFrameScenes.h), drawn through onDisplay() as GLUT
// would, many frames each.
//
// The counting is CreationCount.h's. The first frame of a screen is left out
// of the memory count: the software GL driver compiles its shaders for the new
// state then, thousands of allocations that are not the game's.
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "CreationCount.h"
#include "app/Menu.h"
#include "app/Screens.h"
#include "battle/Battle.h"
#include "battle/Lane.h"
#include "battle/Unit.h"
#include "game/Model.h"
#include "game/Node.h"
#include "game/NodeMap.h"
#include "game/Player.h"
#include "game/Ship.h"
#include "render/Selector.h"
#include "sound/TickSounds.h"
#include "support/GlContext.h"
#include "support/PerFrameScenes.h"
#include "support/WaveCapture.h"
#include "support/World.h"

namespace {

constexpr int kWarmUpFrames = 5;
constexpr int kCountedFrames = 200;
constexpr int kBattleFrames = 100;  // each draws 80 units; a battle frame costs the most

// Frames as GLUT would run them; the battle is healed after each, so that no
// unit is freed and no ship destroyed while counting.
void runFrames(int frames) {
    for (int i = 0; i < frames; ++i) {
        playFrame(1);
        perframe::keepBattleAlive();
    }
}

Created countFrames(int frames) {
    startCounting();
    runFrames(frames);
    return stopCounting();
}

void expectNothingCreated(const Created& c) {
    EXPECT_EQ(c.allocations, 0) << c;
    EXPECT_EQ(c.quadrics, 0) << c;
    EXPECT_EQ(c.listIds, 0) << c;
    EXPECT_EQ(c.compiles, 0) << c;
}

// Every frame is heard: the game's sound plays into a wave file no one reads.
class PerFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        perframe::restoreStartState();
        model = perframe::buildWorld(kTestWindowWidth, kTestWindowHeight);
        ASSERT_TRUE(WaveCapture::useWaveOutput("/dev/null"));
        ASSERT_TRUE(gameSounds().sound.open(kDefaultVolume, false));
    }
    void TearDown() override {
        watchedSize = -1;
        gameSounds().sound.close();
        std::remove((WaveCapture::processFile() + ".conf").c_str());  // read at the first open
        Model::resetSelf();
        perframe::restoreStartState();
    }

    Model* model = nullptr;
};

void expectNoGlObjectsCreated(const Created& c) {
    EXPECT_EQ(c.quadrics, 0) << c;
    EXPECT_EQ(c.listIds, 0) << c;
    EXPECT_EQ(c.compiles, 0) << c;
}

// The first frame of every screen finds its lists and quadric already built.
TEST_F(PerFrameTest, FirstFrameOfEachScreenBuildsNoListAndNoQuadric) {
    perframe::showTitle();
    expectNoGlObjectsCreated(countFrames(1));
    perframe::showMapInPlay();
    expectNoGlObjectsCreated(countFrames(1));
    perframe::showBattle();  // deploying builds the unit lists; that is not a frame's doing
    expectNoGlObjectsCreated(countFrames(1));
    perframe::showEnd();
    expectNoGlObjectsCreated(countFrames(1));
}

TEST_F(PerFrameTest, TitleFramesCreateNothing) {
    perframe::showTitle();
    runFrames(kWarmUpFrames);
    expectNothingCreated(countFrames(kCountedFrames));
    EXPECT_TRUE(model->menu->visible) << "the title board was drawn";
}

TEST_F(PerFrameTest, EndFramesCreateNothing) {
    perframe::showEnd();
    runFrames(kWarmUpFrames);
    expectNothingCreated(countFrames(kCountedFrames));
    EXPECT_EQ(model->screen, EndScreen);
}

// The node under the selector, where the map frames just put it.
const Node* hoveredNode(const Model* model) {
    return model->nodeMap->findNode(model->selector->gridZ, model->selector->gridX);
}

// Nodes, six ships with stock bars, the panels, and the path arrow of the ship
// under the cursor; no ship selected, so no move arrow.
TEST_F(PerFrameTest, MapFramesWithShipsAndPathArrowCreateNothing) {
    perframe::showMapInPlay();
    model->selectedShip = nullptr;
    runFrames(kWarmUpFrames);
    expectNothingCreated(countFrames(kCountedFrames));
    EXPECT_EQ(model->screen, MapScreen);
    EXPECT_EQ(model->players[0]->shipCount + model->players[1]->shipCount,
              2 * perframe::kShipsPerPlayer);
    const Node* hovered = hoveredNode(model);
    ASSERT_NE(hovered, nullptr);
    ASSERT_NE(hovered->ship, nullptr);
    EXPECT_NE(hovered->ship->destination, nullptr) << "its path arrow was drawn";
}

// With a ship selected the move arrow is drawn to a stand-in node for the
// cursor cell, built with the default constructor and dropped again, which
// allocates the node's neighbour slots. That one allocation a frame is all a
// selection may add; nothing else, and nothing for the GL.
TEST_F(PerFrameTest, MapFramesWithSelectionAllocateAtMostTheCursorStandIn) {
    perframe::showMapInPlay();
    ASSERT_NE(model->selectedShip, nullptr);
    ASSERT_NE(model->selectedNode, nullptr);
    runFrames(kWarmUpFrames);
    watchedSize = static_cast<long>(kSlotCount * sizeof(Node*));
    const Created c = countFrames(kCountedFrames);
    EXPECT_NE(hoveredNode(model), model->selectedShip->location) << "the move arrow has a length";
    EXPECT_EQ(c.allocations, c.ofWatchedSize) << c;
    EXPECT_LE(c.allocations, kCountedFrames) << c;
    expectNoGlObjectsCreated(c);
}

bool anyUnitWounded(const Battle* battle) {
    for (const Lane* lane : battle->lanes) {
        for (int i = 0; i < lane->attackerCount; ++i) {
            if (lane->attackerUnits[i]->health < lane->attackerUnits[i]->maxHealth) {
                return true;
            }
        }
        for (int i = 0; i < lane->defenderCount; ++i) {
            if (lane->defenderUnits[i]->health < lane->defenderUnits[i]->maxHealth) {
                return true;
            }
        }
    }
    return false;
}

// All 80 units in reach of each other, striking as their cooldowns allow; they
// are healed after every frame, so none is freed, and nobody deploys.
TEST_F(PerFrameTest, BattleFramesWithUnitsFightingCreateNothing) {
    Battle* battle = perframe::showBattle();
    runFrames(kWarmUpFrames);
    int framesWithBlows = 0;
    startCounting();
    for (int i = 0; i < kBattleFrames; ++i) {
        playFrame(1);
        framesWithBlows += anyUnitWounded(battle) ? 1 : 0;
        perframe::keepBattleAlive();
    }
    const Created c = stopCounting();
    expectNothingCreated(c);

    ASSERT_EQ(model->battle, battle);
    EXPECT_EQ(unitsInLanes(battle), 2 * perframe::kUnitsPerSide);
    // The slowest kind strikes every seventh step.
    EXPECT_GE(framesWithBlows, kBattleFrames / 7) << "the units were not fighting";
}

// The ticks' sounds alone, C allocations included: a battle in full fight
// is the busiest they get, with blows to be heard in every lane. OpenAL
// keeps a store of the settings it hands its mixer, which grows while the
// first sounds play and is then reused, so a second of battle comes first.
TEST_F(PerFrameTest, TicksHeardInBattleAllocateNothing) {
    perframe::showBattle();
    runFrames(kTicksPerSecond);
    int cues = 0;
    startCounting();
    mallocs = 0;
    countingMalloc = kCountsMalloc;
    for (int i = 0; i < kBattleFrames; ++i) {
        runGameTick();
        cues += gameSounds().cueCount();
        perframe::keepBattleAlive();
    }
    countingMalloc = false;
    expectNothingCreated(stopCounting());
    if (kCountsMalloc) {
        EXPECT_EQ(mallocs, 0);
    }
    // Only blows, which each lane lets be heard once in five ticks at most.
    EXPECT_GE(cues, kBattleFrames / 5) << "the battle was not heard";
    EXPECT_LE(cues, kLaneCount * kBattleFrames / 5) << "a full lane roars";
}

}  // namespace
