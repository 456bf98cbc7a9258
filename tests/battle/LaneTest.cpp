#include "battle/Lane.h"

#include <gtest/gtest.h>

#include "battle/Battle.h"
#include "battle/Unit.h"
#include "game/Model.h"
#include "game/Ship.h"
#include "support/Guarded.h"

namespace {

// A lane on its own, beside a battle of two ownerless ships that only takes
// the blows of an open lane; units are placed by hand.
class LaneTest : public ::testing::Test {
protected:
    void SetUp() override { Model::getSelf(); }
    void TearDown() override { Model::resetSelf(); }

    Unit* place(int kind, int position, bool attackerSide) {
        Unit* unit = new Unit(kind, nullptr);
        unit->position = position;
        lane.push(unit, attackerSide);
        int& front = attackerSide ? lane.attackerFront : lane.defenderFront;
        if (position > front) {
            front = position;
        }
        return unit;
    }

    Ship attackingShip{nullptr};
    Ship defendingShip{nullptr};
    Battle battle{&attackingShip, &defendingShip};
    Lane lane;
};

TEST_F(LaneTest, AdvanceHaltsWithTheEnemyFrontJustInReachAndNeverWalksBack) {
    Unit* walker = place(0, 3790, true);
    Unit* ahead = place(0, 5000, true);
    place(1, 6000, false);
    lane.update(battle);
    // the defender halts at once: 10000 - 100 - 5000 = 4900 is behind it
    EXPECT_EQ(lane.defenderUnits[0]->position, 6000);
    // the walker's limit is 10000 - 200 - 6000 = 3800: 3793 and then 3796
    EXPECT_EQ(walker->position, 3793);
    EXPECT_EQ(ahead->position, 5000);
    lane.update(battle);
    lane.update(battle);
    lane.update(battle);
    EXPECT_EQ(walker->position, 3800);
    EXPECT_EQ(lane.attackerFront, 5000);
}

TEST_F(LaneTest, RemoveKeepsOrderAndRecomputesTheFront) {
    Unit* first = place(2, 100, false);
    Unit* foremost = place(2, 700, false);
    Unit* last = place(2, 400, false);
    lane.remove(foremost, false);
    ASSERT_EQ(lane.defenderCount, 2);
    EXPECT_EQ(lane.defenderUnits[0], first);
    EXPECT_EQ(lane.defenderUnits[1], last);
    EXPECT_EQ(lane.defenderFront, 400);
    lane.remove(first, false);
    lane.remove(last, false);
    EXPECT_EQ(lane.defenderCount, 0);
    EXPECT_EQ(lane.defenderFront, 0);
}

TEST_F(LaneTest, TheEarliestDeployedOfTheForemostIsTheTarget) {
    place(0, 100, false);
    Unit* earlier = place(0, 5000, false);
    Unit* later = place(0, 5000, false);
    Unit* striker = place(3, 4500, true);
    lane.fight(striker, true, battle);
    EXPECT_EQ(earlier->health, 10000 - 150);
    EXPECT_EQ(later->health, 10000);
}

// The foremost defender dies at exactly 0 health; the defending front falls
// back to the next one and the attacker, which had halted, walks on.
TEST_F(LaneTest, AKillDropsTheFrontAndHaltedUnitsWalkOn) {
    Unit* doomed = place(0, 6000, false);
    Unit* behind = place(0, 3000, false);
    Unit* attacker = place(0, 3800, true);
    doomed->health = 100;
    lane.update(battle);
    EXPECT_EQ(attacker->position, 3800);
    EXPECT_EQ(attacker->health, 9900);
    ASSERT_EQ(lane.defenderCount, 1);
    EXPECT_EQ(lane.defenderUnits[0], behind);
    EXPECT_EQ(lane.defenderFront, 3003);
    lane.update(battle);
    EXPECT_EQ(lane.defenderFront, 3006);
    EXPECT_EQ(attacker->position, 3803);
}

TEST_F(LaneTest, AKilledUnitDoesNotStrikeLaterInTheSameStep) {
    Unit* defender = place(0, 4901, false);
    Unit* attacker = place(0, 4899, true);
    attacker->health = 100;
    lane.update(battle);
    EXPECT_EQ(lane.attackerCount, 0);
    EXPECT_EQ(defender->health, 10000);
}

TEST_F(LaneTest, ALaneOfADecidedBattleNeitherAdvancesNorFights) {
    Unit* walker = place(0, 100, true);
    Unit* defender = place(0, 4901, false);
    Unit* attacker = place(0, 4899, true);
    battle.battleOver = true;
    lane.update(battle);
    EXPECT_EQ(walker->position, 100);
    EXPECT_EQ(defender->health, 10000);
    EXPECT_EQ(attacker->health, 10000);
    EXPECT_EQ(defender->cooldown, 0);
}

TEST_F(LaneTest, CooldownWaitsWhileNothingIsInReach) {
    Unit* striker = place(0, 0, true);
    Unit* target = place(1, 9000, false);
    striker->cooldown = 3;
    lane.fight(striker, true, battle);
    EXPECT_EQ(striker->cooldown, 3);
    EXPECT_EQ(target->health, 50000);
    striker->position = 800;  // 200 + 800 reaches 10000 - 9000
    lane.fight(striker, true, battle);
    EXPECT_EQ(striker->cooldown, 2);
}

TEST_F(LaneTest, AFullSideTakesNoMoreUnits) {
    for (int i = 0; i < kLaneCapacity; ++i) {
        lane.push(new Unit(2, nullptr), true);
    }
    EXPECT_GUARDED(lane.push(new Unit(2, nullptr), true), "past its capacity");
    EXPECT_EQ(lane.attackerCount, kLaneCapacity);
}

}  // namespace
