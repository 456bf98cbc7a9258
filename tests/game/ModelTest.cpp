#include <gtest/gtest.h>

#include <string>

#include "app/Entry.h"
#include "game/Model.h"
#include "game/Node.h"
#include "game/Player.h"
#include "game/Random.h"
#include "game/Ship.h"
#include "support/FatalError.h"
#include "support/World.h"

namespace {

class ModelTest : public ::testing::Test {
protected:
    void TearDown() override { Model::resetSelf(); }
};

TEST_F(ModelTest, FreshModelHasItsDefaults) {
    const Model* model = Model::getSelf();
    EXPECT_EQ(model, Model::getSelf());
    EXPECT_EQ(model->screen, TitleScreen);
    EXPECT_EQ(model->currentPlayer, 0);
    EXPECT_EQ(model->playerCount, 2);
    EXPECT_EQ(model->nodeCount, 50);
    EXPECT_EQ(model->windowWidth, 500);
    EXPECT_EQ(model->windowHeight, 400);
    EXPECT_EQ(model->clock, 0);
    EXPECT_FALSE(model->endTurnRequested);
    EXPECT_EQ(model->loser, 0);
    EXPECT_FLOAT_EQ(model->pointerX, 0);
    EXPECT_FLOAT_EQ(model->viewHeight, 0);
    for (const void* reference :
         {static_cast<const void*>(model->menu), static_cast<const void*>(model->players),
          static_cast<const void*>(model->hud), static_cast<const void*>(model->nodeMap),
          static_cast<const void*>(model->nodes), static_cast<const void*>(model->selector),
          static_cast<const void*>(model->battle), static_cast<const void*>(model->selectedNode),
          static_cast<const void*>(model->selectedShip)}) {
        EXPECT_EQ(reference, nullptr);
    }
}

TEST_F(ModelTest, ResetSelfGivesAFreshInstanceNextTime) {
    Model::getSelf()->clock = 70;
    Model::resetSelf();
    EXPECT_EQ(Model::getSelf()->clock, 0);
}

TEST_F(ModelTest, FatalErrorsCarryTheirExactMessages) {
    Model::getSelf();
    EXPECT_EQ(fatalMessageOf([] { Model second; }),
              "DO NOT CALL CONSTRUCTOR DIRECTLY. USE Model::getSelf()");
    EXPECT_EQ(fatalMessageOf([] { Model::getSelf()->createPlayers(2); }),
              "Allocate Nodes before Players");
    EXPECT_EQ(fatalMessageOf([] { createWorld(2, 2); }), "LESS NODES THAN PLAYERS");
    EXPECT_EQ(fatalMessageOf([] { createWorld(3, 3); }), "LESS NODES THAN PLAYERS");
}

TEST_F(ModelTest, AFatalErrorEndsTheProcessWithItsMessageOnStandardError) {
    const auto failingStart = [](int, char**) {
        createWorld(2, 2);
        return 0;
    };
    EXPECT_EXIT(std::exit(runGuarded(failingStart, 0, nullptr)), ::testing::ExitedWithCode(1),
                "LESS NODES THAN PLAYERS");
}

TEST_F(ModelTest, RunGuardedPassesTheStatusOfAGoodRunThrough) {
    EXPECT_EQ(runGuarded([](int argc, char**) { return argc + 1; }, 4, nullptr), 5);
}

TEST_F(ModelTest, PlayersStartOnKindFourHomeNodesWithOneShip) {
    const Model* model = buildWorld(7, 50, kPlayersPart);
    for (int i = 0; i < 2; ++i) {
        const Player* player = model->players[i];
        const Node* home = model->nodes[i];
        EXPECT_EQ(home->kind, kCreditKind);
        EXPECT_EQ(player->homeNode, home);
        EXPECT_EQ(home->owner, player);
        EXPECT_EQ(player->nodeTotal, 1);
        EXPECT_EQ(player->kindCounts[kCreditKind], 1);
        EXPECT_EQ(player->credits, 0);
        ASSERT_EQ(player->shipCount, 1);
        EXPECT_EQ(player->ships[0]->location, home);
        EXPECT_EQ(home->ship, player->ships[0]);
    }
    for (int i = 2; i < 50; ++i) {
        EXPECT_GE(model->nodes[i]->kind, 0);
        EXPECT_LE(model->nodes[i]->kind, 4);
        EXPECT_EQ(model->nodes[i]->owner, nullptr);
    }
}

TEST_F(ModelTest, NodeKindsFollowTheDrawsAndADrawOfOneGivesKindFour) {
    // Find a seed whose first draw is the largest value, so the fraction is exactly 1.
    std::uint32_t seed = 0;
    for (;; ++seed) {
        Random::seed(seed);
        if (Random::draw() == Random::kMaxDraw) {
            break;
        }
    }
    Random::seed(seed);
    Model* model = Model::getSelf();
    Random::seed(seed);
    model->createNodes(6);
    EXPECT_EQ(model->nodes[0]->kind, 4);
    Random::seed(seed);
    Random::draw();
    for (int i = 1; i < 6; ++i) {
        const float f = randomFraction();
        EXPECT_EQ(model->nodes[i]->kind, static_cast<int>(f * 5)) << "node " << i;
    }
}

TEST_F(ModelTest, ViewFollowsTheGridBounds) {
    Model* model = Model::getSelf();
    model->updateViewFromBounds();
    EXPECT_FLOAT_EQ(model->viewHeight, 0);
    EXPECT_FLOAT_EQ(model->mapCenterX, 0);
    EXPECT_FLOAT_EQ(model->mapCenterZ, 0);

    model->minGridX = -6;
    model->maxGridX = 10;
    model->minGridZ = -12;
    model->maxGridZ = 8;
    model->updateViewFromBounds();
    EXPECT_NEAR(model->viewHeight, 35.777, 0.001);
    EXPECT_FLOAT_EQ(model->mapCenterX, 2);
    EXPECT_FLOAT_EQ(model->mapCenterZ, -2);

    model->minGridX = -3;
    model->maxGridX = 4;
    model->updateViewFromBounds();
    EXPECT_FLOAT_EQ(model->mapCenterX, 0.5f);
}

TEST_F(ModelTest, RandomFractionIsADrawOver32767) {
    Random::seed(12345);
    const std::uint32_t state = Random::currentState();
    const int drawn = Random::draw();
    Random::seed(state);
    EXPECT_EQ(randomFraction(), static_cast<float>(drawn / 32767.0));
    EXPECT_EQ(Random::fraction(0), 0.0f);
    EXPECT_EQ(Random::fraction(32767), 1.0f);
}

TEST_F(ModelTest, DrawsCoverTheWholeRangeUniformly) {
    Random::seed(99);
    int buckets[8] = {};
    int low = 32767, high = 0;
    constexpr int kDraws = 800000;
    for (int i = 0; i < kDraws; ++i) {
        const int drawn = Random::draw();
        ASSERT_GE(drawn, 0);
        ASSERT_LE(drawn, 32767);
        low = std::min(low, drawn);
        high = std::max(high, drawn);
        ++buckets[drawn / 4096];
    }
    EXPECT_EQ(low, 0);
    EXPECT_EQ(high, 32767);
    for (int count : buckets) {
        EXPECT_NEAR(count, kDraws / 8, kDraws / 80);
    }
}

TEST_F(ModelTest, ClockAdvancesByTenAndWrapsWithoutOverflow) {
    Model* model = Model::getSelf();
    model->advanceClock();
    EXPECT_EQ(model->clock, 10);
    model->clock = kClockWrap - 20;
    model->advanceClock();
    EXPECT_EQ(model->clock, kClockWrap - 10);
    model->advanceClock();
    EXPECT_EQ(model->clock, 0);
    // The unit spin reads clock / 10 mod 360: it goes on from 359 to 0.
    EXPECT_EQ(((kClockWrap - 10) / 10) % 360, 359);
    model->clock = 2147483647;
    model->advanceClock();
    EXPECT_GE(model->clock, 0);
    EXPECT_LT(model->clock, kClockWrap);
}

}  // namespace
