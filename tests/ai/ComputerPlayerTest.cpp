#include "ai/ComputerPlayer.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "ai/BattleTactics.h"
#include "ai/MapTactics.h"
#include "battle/Battle.h"
#include "battle/Lane.h"
#include "game/Model.h"
#include "game/Node.h"
#include "game/Player.h"
#include "game/Ship.h"
#include "game/Tick.h"
#include "support/HandMap.h"
#include "support/Tournament.h"

namespace {

class ComputerPlayerTest : public HandMapTest {
protected:
    // Player 0's home beside a free node (2) that leads on to another (3);
    // player 1's home stands apart, or right beside player 0's.
    void buildApart() { build({{0, 0}, {12, 0}, {2, 0}, {4, 0}}); }
    void buildSideBySide() { build({{0, 0}, {2, 0}, {-2, 0}}); }

    Ship* ship(int player) { return HandMap::player(player)->ships[0]; }
    static void fill(Ship* ship, int units) {
        for (int& stock : ship->unitStock) {
            stock = units;
        }
    }
};

TEST_F(ComputerPlayerTest, StepsOntoAFreeNeighbourAndBuysWhenItCan) {
    buildApart();
    const ShipOrder order = MapTactics(0).orderFor(*ship(0));
    EXPECT_EQ(order.kind, ShipOrder::Kind::Step);
    EXPECT_EQ(order.node, HandMap::node(2));

    first->credits = 9;
    EXPECT_FALSE(MapTactics(0).shouldBuy());
    first->credits = 10;
    EXPECT_FALSE(MapTactics(0).shouldBuy()) << "the home node is taken by its own ship";
    ASSERT_TRUE(ship(0)->moveTo(HandMap::node(2)));
    EXPECT_FALSE(MapTactics(0).shouldBuy()) << "two nodes are not room for two ships";
    first->gainNode(HandMap::node(3));
    EXPECT_TRUE(MapTactics(0).shouldBuy());
}

TEST_F(ComputerPlayerTest, AttacksOnlyWithAnAdvantage) {
    buildSideBySide();
    fill(ship(0), 5);
    fill(ship(1), 2);
    EXPECT_EQ(MapTactics(0).orderFor(*ship(0)).kind, ShipOrder::Kind::Attack);
    EXPECT_NE(MapTactics(1).orderFor(*ship(1)).kind, ShipOrder::Kind::Attack);
    fill(ship(1), 6);
    EXPECT_NE(MapTactics(0).orderFor(*ship(0)).kind, ShipOrder::Kind::Attack);
}

// Played tick by tick as in the game, through its commands: the clicks come a
// third of a second apart, the turn ends when nothing is left to do, and the
// other side's turn is left alone.
TEST_F(ComputerPlayerTest, PlaysItsTurnOneActionAtATime) {
    buildApart();
    model->screen = MapScreen;
    model->addComputer(0);
    const ComputerPlayer& computer = *model->computers[0];
    int ticks = 0;
    for (; ticks < 10 * ComputerPlayer::kMapPause && model->turn == 0; ++ticks) {
        runTick();
    }
    EXPECT_EQ(model->currentPlayer, 1) << "the turn ended";
    EXPECT_EQ(ship(0)->location, HandMap::node(2));
    EXPECT_EQ(computer.actions, 3) << "select, order, end the turn";
    EXPECT_GE(ticks, 3 * ComputerPlayer::kMapPause);

    for (int i = 0; i < 10 * ComputerPlayer::kMapPause; ++i) {
        runTick();
    }
    EXPECT_EQ(computer.actions, 3);
}

TEST_F(ComputerPlayerTest, SendsUnitsWhereTheEnemyPushes) {
    buildSideBySide();
    fill(ship(0), 3);
    fill(ship(1), 3);
    model->startBattle(ship(1), ship(0));
    Battle* battle = model->battle;
    battle->moveCursor(CursorMove::Right, true);
    battle->moveCursor(CursorMove::Right, true);
    battle->deploy(ship(1), 0);  // into lane 2, facing the defender's cursor at lane 4
    model->addComputer(0);
    const ComputerPlayer& computer = *model->computers[0];
    for (int tick = 0; tick < 6 * ComputerPlayer::kBattlePause; ++tick) {
        runTick();
    }
    EXPECT_EQ(battle->defenderLane, 2);
    EXPECT_GE(battle->lanes[2]->defenderCount, 1);
    EXPECT_LE(computer.actions, 6) << "no faster than one action per pause";
}

// The heap may put a ship bought after a loss where the lost ship was; the
// program must not take the new ship for one it has already played.
TEST_F(ComputerPlayerTest, AShipBoughtInALostShipsPlaceStillGetsItsOrder) {
    buildApart();
    model->screen = MapScreen;
    model->addComputer(0);
    for (int i = 0; i < 100 && !ship(0)->moved; ++i) {
        runTick();
    }
    ASSERT_TRUE(ship(0)->moved);
    // lost in one tick, as in a battle, and replaced in the next
    const auto lostPlace = reinterpret_cast<std::uintptr_t>(ship(0));
    first->removeShip(ship(0));
    runTick();
    const Ship* bought = HandMap::placeShip(0, 0);
    if (reinterpret_cast<std::uintptr_t>(bought) != lostPlace) {
        GTEST_SKIP() << "this heap gave the new ship a place of its own";
    }
    for (int i = 0; i < 100 && !bought->moved && model->currentPlayer == 0; ++i) {
        runTick();
    }
    EXPECT_TRUE(bought->moved);
}

TEST(ComputerPlayerTournament, BeatsRandomPlayClearly) {
    int wins = 0;
    for (int game = 0; game < 10; ++game) {
        wins += playMatch(300 + game, game % 2, Opponent::Random, 600).computerWon ? 1 : 0;
    }
    EXPECT_GE(wins, 9);
}

}  // namespace
