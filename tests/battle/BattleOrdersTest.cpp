// What a side's orders do to a battle: its cursor, the units it sends, and
// the attack that starts it.
#include <gtest/gtest.h>

#include "battle/Battle.h"
#include "battle/Lane.h"
#include "battle/Unit.h"
#include "game/Model.h"
#include "game/Node.h"
#include "game/Player.h"
#include "game/Ship.h"
#include "support/BattleWorld.h"
#include "support/Guarded.h"

namespace {

constexpr CursorMove kLeft = CursorMove::Left;
constexpr CursorMove kRight = CursorMove::Right;

void expectCursors(const Battle* battle) {
    for (int i = 0; i < kLaneCount; ++i) {
        EXPECT_EQ(battle->lanes[i]->attackerCursor, i == battle->attackerLane) << "lane " << i;
        EXPECT_EQ(battle->lanes[i]->defenderCursor, i == battle->defenderLane) << "lane " << i;
    }
}

TEST_F(BattleTest, CursorsStartAtTheOuterLanesAndStopThere) {
    Battle* battle = start();
    EXPECT_EQ(battle->attackerLane, 0);
    EXPECT_EQ(battle->defenderLane, 4);
    expectCursors(battle);
    battle->moveCursor(kLeft, true);
    battle->moveCursor(kRight, false);
    battle->moveCursor(static_cast<CursorMove>(2), true);  // from a damaged source
    EXPECT_EQ(battle->attackerLane, 0);
    EXPECT_EQ(battle->defenderLane, 4);
    for (int i = 0; i < 5; ++i) {
        battle->moveCursor(kRight, true);
        battle->moveCursor(kLeft, false);
    }
    EXPECT_EQ(battle->attackerLane, 4);
    EXPECT_EQ(battle->defenderLane, 0);
    expectCursors(battle);
}

TEST_F(BattleTest, DeployTakesFromTheStockIntoTheSideAndLaneOfTheShip) {
    attacker->unitStock[2] = 1;
    attacker->unitStock[3] = 1;
    defender->unitStock[0] = 2;
    Battle* battle = start();
    battle->deploy(attacker, 0);  // empty stock
    battle->deploy(attacker, 3);
    battle->deploy(attacker, 2);
    battle->deploy(defender, 0);
    battle->moveCursor(kLeft, false);
    battle->deploy(defender, 0);

    const Lane* first = battle->lanes[0];
    ASSERT_EQ(first->attackerCount, 2);
    EXPECT_EQ(first->attackerUnits[0]->kind, 3);
    EXPECT_EQ(first->attackerUnits[1]->kind, 2);
    EXPECT_EQ(first->attackerUnits[1]->position, 0);
    EXPECT_EQ(first->attackerUnits[0]->owner, model->players[0]);
    EXPECT_EQ(first->defenderCount, 0);
    EXPECT_EQ(battle->lanes[4]->defenderCount, 1);
    ASSERT_EQ(battle->lanes[3]->defenderCount, 1);
    EXPECT_EQ(battle->lanes[3]->defenderUnits[0]->owner, model->players[1]);
    for (int kind = 0; kind < kUnitKinds; ++kind) {
        EXPECT_EQ(attacker->unitStock[kind], 0);
        EXPECT_EQ(defender->unitStock[kind], 0);
    }
}

TEST_F(BattleTest, DeployIntoAFullSideOfALaneKeepsTheStock) {
    attacker->unitStock[2] = kLaneCapacity + 5;
    Battle* battle = start();
    for (int i = 0; i < kLaneCapacity; ++i) {
        battle->deploy(attacker, 2);
    }
    EXPECT_GUARDED(battle->deploy(attacker, 2), "fits into one lane side");
    EXPECT_EQ(battle->lanes[0]->attackerCount, kLaneCapacity);
    EXPECT_EQ(attacker->unitStock[2], 5);
}

TEST_F(BattleTest, StartingChangesOnlyTheScreenAndBeginsUndecided) {
    model->selectedShip = attacker;
    model->selectedNode = attacker->location;
    Node* attackerNode = attacker->location;
    Battle* battle = start();
    ASSERT_NE(battle, nullptr);
    EXPECT_EQ(model->screen, BattleScreen);
    EXPECT_FALSE(battle->battleOver);
    EXPECT_FALSE(battle->endHandled);
    EXPECT_EQ(model->selectedShip, attacker);
    EXPECT_EQ(model->selectedNode, attackerNode);
    EXPECT_EQ(attacker->location, attackerNode);
    EXPECT_FALSE(attacker->moved);

    EXPECT_GUARDED(model->startBattle(defender, attacker), "a second battle");
    EXPECT_EQ(model->battle, battle);
    EXPECT_EQ(battle->attacker, attacker);
}

}  // namespace
