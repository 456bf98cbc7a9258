#include "battle/Battle.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "battle/Lane.h"
#include "battle/Unit.h"
#include "game/Model.h"
#include "game/Node.h"
#include "game/Player.h"
#include "game/Ship.h"
#include "support/BattleWorld.h"

namespace {

constexpr CursorMove kLeft = CursorMove::Left;
constexpr CursorMove kRight = CursorMove::Right;

// Equal units meet in the middle; the defending side moves and strikes first
// in every step, and so wins the duel with one hit to spare.
TEST_F(BattleTest, DuelOfEqualUnitsIsWonByTheDefendingSide) {
    attacker->unitStock[0] = 1;
    defender->unitStock[0] = 1;
    Battle* battle = start();
    for (int i = 0; i < 4; ++i) {
        battle->moveCursor(kLeft, false);
    }
    battle->deploy(attacker, 0);
    battle->deploy(defender, 0);
    const Lane* lane = battle->lanes[0];
    const Unit* a = lane->attackerUnits[0];
    const Unit* d = lane->defenderUnits[0];

    ASSERT_TRUE(run(1633));
    EXPECT_EQ(d->position, 4899);
    EXPECT_EQ(a->position, 4899);
    EXPECT_EQ(a->health, 10000);

    for (int step = 1634; step <= 2227; ++step) {
        ASSERT_TRUE(run(1));
        const int expected = 10000 - 100 * (1 + (step - 1634) / 6);
        ASSERT_EQ(d->health, expected) << "step " << step;
        ASSERT_EQ(a->health, expected) << "step " << step;
        ASSERT_EQ(d->position, 4901);
        ASSERT_EQ(a->position, 4899);
    }
    EXPECT_EQ(a->health, 100);

    ASSERT_TRUE(run(1));
    EXPECT_EQ(lane->attackerCount, 0);
    ASSERT_EQ(lane->defenderCount, 1);
    EXPECT_EQ(d->health, 100);
    EXPECT_EQ(attacker->health, kFullHealth);
    EXPECT_EQ(defender->health, kFullHealth);
}

TEST_F(BattleTest, UnitsInAnOpenLaneHaltByRangeAndHitTheShipEveryStep) {
    attacker->unitStock[1] = 1;
    attacker->unitStock[2] = 1;
    defender->unitStock[3] = 1;  // kept back, so the defender is not exhausted
    Battle* battle = start();
    battle->deploy(attacker, 1);
    battle->moveCursor(kRight, true);
    battle->deploy(attacker, 2);
    const Unit* slow = battle->lanes[0]->attackerUnits[0];
    const Unit* fast = battle->lanes[1]->attackerUnits[0];

    ASSERT_TRUE(run(1));
    EXPECT_EQ(defender->health, kFullHealth - 60);
    EXPECT_EQ(slow->position, 1);
    EXPECT_EQ(fast->position, 5);
    ASSERT_TRUE(run(1799));
    EXPECT_EQ(fast->position, 9000);
    ASSERT_TRUE(run(8101));
    EXPECT_EQ(slow->position, 9900);
    EXPECT_EQ(fast->position, 9000);
    EXPECT_EQ(defender->health, kFullHealth - 60 * 9901);
    EXPECT_EQ(attacker->health, kFullHealth);
}

TEST_F(BattleTest, HittingTheShipLeavesTheCooldownAlone) {
    attacker->unitStock[0] = 1;
    defender->unitStock[3] = 1;
    Battle* battle = start();
    battle->deploy(attacker, 0);
    Unit* unit = battle->lanes[0]->attackerUnits[0];
    unit->cooldown = 4;
    ASSERT_TRUE(run(3));
    EXPECT_EQ(unit->cooldown, 4);
    EXPECT_EQ(defender->health, kFullHealth - 300);
}

TEST_F(BattleTest, AnExhaustedSideLosesItsShipInTheThousandthStep) {
    defender->unitStock[0] = 1;
    start();
    ASSERT_TRUE(run(1));
    EXPECT_EQ(attacker->health, kFullHealth - kExhaustionDamage);
    ASSERT_TRUE(run(998));
    EXPECT_EQ(attacker->health, kExhaustionDamage);
    EXPECT_FALSE(run(1));
    EXPECT_EQ(model->players[0]->shipCount, 0);
    EXPECT_EQ(model->players[1]->shipCount, 1);
    EXPECT_EQ(defender->health, kFullHealth);
}

TEST_F(BattleTest, EqualExhaustionDestroysTheDefender) {
    start();
    ASSERT_TRUE(run(999));
    EXPECT_FALSE(run(1));
    EXPECT_EQ(model->players[1]->shipCount, 0);
    ASSERT_EQ(model->players[0]->shipCount, 1);
    EXPECT_EQ(attacker->health, 0);
}

// A hit in lanes 0..3 is carried out by the next lane of the same step; one in
// lane 4 waits for lane 0 of the next step.
TEST_F(BattleTest, TheDecidingHitEndsTheBattleInTheNextLaneUpdate) {
    attacker->unitStock[0] = 1;
    defender->unitStock[1] = 1;
    defender->health = 100;
    Battle* battle = start();
    battle->moveCursor(kRight, true);
    battle->moveCursor(kRight, true);
    battle->deploy(attacker, 0);
    EXPECT_FALSE(run(1));
    EXPECT_EQ(model->players[1]->shipCount, 0);
}

TEST_F(BattleTest, ADecidingHitInTheLastLaneIsCarriedOutInTheNextStep) {
    attacker->unitStock[0] = 1;
    defender->unitStock[1] = 1;
    defender->health = 100;
    Battle* battle = start();
    for (int i = 0; i < 4; ++i) {
        battle->moveCursor(kRight, true);
    }
    battle->deploy(attacker, 0);
    ASSERT_TRUE(run(1));
    EXPECT_TRUE(battle->battleOver);
    EXPECT_TRUE(battle->defenderLost);
    EXPECT_FALSE(battle->endHandled);
    EXPECT_EQ(model->screen, BattleScreen);
    EXPECT_EQ(battle->lanes[4]->attackerUnits[0]->position, 3);
    EXPECT_FALSE(run(1));
    EXPECT_EQ(model->screen, MapScreen);
    EXPECT_EQ(model->players[1]->shipCount, 0);
}

TEST_F(BattleTest, TheWinnerKeepsWhatItHadAndTheLoserIsGone) {
    attacker->unitStock[0] = 1;
    attacker->unitStock[3] = 2;
    attacker->moved = true;
    attacker->health = 123456;
    defender->health = 25000;
    model->selectedShip = attacker;
    Node* attackerNode = attacker->location;
    Node* defenderNode = defender->location;
    start()->deploy(attacker, 0);
    // exhaustion 10000 plus one hit of 100 per step: gone in the third
    ASSERT_TRUE(run(2));
    EXPECT_EQ(defender->health, 4800);
    EXPECT_FALSE(run(1));

    EXPECT_EQ(model->screen, MapScreen);
    EXPECT_EQ(model->battle, nullptr);
    EXPECT_EQ(model->selectedShip, nullptr);
    EXPECT_EQ(model->currentPlayer, 0);
    EXPECT_EQ(defenderNode->ship, nullptr);
    EXPECT_EQ(model->players[1]->shipCount, 0);
    EXPECT_EQ(attackerNode->ship, attacker);
    EXPECT_EQ(attacker->location, attackerNode);
    EXPECT_TRUE(attacker->moved);
    EXPECT_EQ(attacker->health, 123456);
    EXPECT_EQ(attacker->unitStock[0], 0);
    EXPECT_EQ(attacker->unitStock[3], 2);
}

void expectFrontsAreTheForemostPositions(const Battle* battle) {
    for (const Lane* lane : battle->lanes) {
        int attackerMax = 0;
        int defenderMax = 0;
        for (int i = 0; i < lane->attackerCount; ++i) {
            attackerMax = std::max(attackerMax, lane->attackerUnits[i]->position);
        }
        for (int i = 0; i < lane->defenderCount; ++i) {
            defenderMax = std::max(defenderMax, lane->defenderUnits[i]->position);
        }
        ASSERT_EQ(lane->attackerFront, attackerMax);
        ASSERT_EQ(lane->defenderFront, defenderMax);
        ASSERT_LE(attackerMax + defenderMax, kLaneLength);
    }
}

// Battle after battle between many ships, with units sent into every lane at
// odd moments: each ends with exactly one ship fewer, and the fronts stay the
// foremost positions throughout. Run under the sanitizers, this also shows that
// nothing of a finished battle is touched after it is discarded.
TEST_F(BattleTest, ManyBattlesEachCostOneShip) {
    for (int n = 2; n < kNodes; ++n) {
        model->players[n % 2]->buyShip(model->nodes[n]);
    }
    unsigned seed = 12345;
    auto draw = [&seed](int below) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 16) % below);
    };
    for (int round = 0; model->players[0]->shipCount > 0 && model->players[1]->shipCount > 0;
         ++round) {
        Player* side = model->players[round % 2];
        Player* other = model->players[1 - round % 2];
        attacker = side->ships[0];
        defender = other->ships[0];
        for (Ship* ship : {attacker, defender}) {
            ship->health = 500000 + draw(500000);
            for (int kind = 0; kind < kUnitKinds; ++kind) {
                ship->unitStock[kind] = draw(11);
            }
        }
        const int shipsBefore = side->shipCount + other->shipCount;
        Battle* battle = start();
        int steps = 0;
        while (model->battle != nullptr) {
            ASSERT_LT(++steps, 100000);
            if (draw(8) == 0) {
                battle->moveCursor(draw(2) == 0 ? kLeft : kRight, draw(2) == 0);
                battle->deploy(draw(2) == 0 ? attacker : defender, draw(4));
            }
            runTick();
            if (model->battle != nullptr) {
                expectFrontsAreTheForemostPositions(battle);
            }
        }
        EXPECT_EQ(side->shipCount + other->shipCount, shipsBefore - 1);
    }
}

}  // namespace
