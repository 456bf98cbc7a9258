// The input callbacks that attack and steer a battle, for either player and
// never for the side the program plays.
#include <GL/glut.h>
#include <gtest/gtest.h>

#include "InputFixture.h"
#include "ai/ComputerPlayer.h"
#include "app/Input.h"
#include "battle/Battle.h"
#include "battle/Lane.h"
#include "game/Model.h"
#include "game/Node.h"
#include "game/NodeMap.h"
#include "game/Player.h"
#include "game/Ship.h"
#include "render/Selector.h"
#include "support/CellPointer.h"
#include "support/World.h"

namespace {

TEST_F(AttackTest, AnUnmovedShipAttacksAnAdjacentEnemy) {
    selectShip0();
    click(enemyNode);
    ASSERT_NE(model->battle, nullptr);
    EXPECT_EQ(model->screen, BattleScreen);
    EXPECT_EQ(model->battle->attacker, ship0);
    EXPECT_EQ(model->battle->defender, ship1);
    EXPECT_EQ(model->selectedShip, ship0) << "an attack changes no selection";
    EXPECT_EQ(model->selectedNode, ship0->location);
    EXPECT_FALSE(ship0->moved);
}

TEST_F(AttackTest, AMovedShipOrADistantEnemyCannotBeAttacked) {
    ship0->moved = true;
    selectShip0();
    click(enemyNode);
    EXPECT_EQ(model->battle, nullptr);
    EXPECT_EQ(model->screen, MapScreen);

    ship0->moved = false;
    place(ship1, farFreeNode(ship0->location));
    click(ship1->location);
    EXPECT_EQ(model->battle, nullptr);
    EXPECT_EQ(model->screen, MapScreen);
    EXPECT_EQ(model->selectedShip, ship0);
}

TEST_F(AttackTest, AnEnemyShipWithoutASelectedShipIsIgnored) {
    click(enemyNode);
    EXPECT_EQ(model->battle, nullptr);
    EXPECT_EQ(model->selectedNode, nullptr);
}

class BattleKeysTest : public AttackTest {};

TEST_F(BattleKeysTest, EachPlayerSteersTheShipItOwnsWhetherItAttackedOrDefended) {
    // Player 1 attacks player 0: player 0's keys act on the defending side.
    model->currentPlayer = 1;
    ship0->unitStock[2] = 3;
    ship1->unitStock[0] = 1;
    model->startBattle(ship1, ship0);
    Battle* battle = model->battle;

    press('e');  // player 0, towards lane 4: the defender is there already
    EXPECT_EQ(battle->defenderLane, 4);
    press('w');
    EXPECT_EQ(battle->defenderLane, 3);
    EXPECT_EQ(battle->attackerLane, 0);
    press('d');  // player 0 sends a kind-2 unit from its own ship
    EXPECT_EQ(ship0->unitStock[2], 2);
    EXPECT_EQ(battle->lanes[3]->defenderCount, 1);

    press('o');  // player 1 steers the attacking side
    press('o');
    EXPECT_EQ(battle->attackerLane, 2);
    press('i');
    EXPECT_EQ(battle->attackerLane, 1);
    press('j');
    press('j');  // the second press finds the stock empty
    EXPECT_EQ(ship1->unitStock[0], 0);
    EXPECT_EQ(battle->lanes[1]->attackerCount, 1);

    press('W');
    press('k');
    onSpecialKey(GLUT_KEY_RIGHT, 0, 0);
    EXPECT_EQ(battle->defenderLane, 3);
    EXPECT_EQ(battle->lanes[1]->attackerCount, 1);
}

TEST_F(BattleKeysTest, ThePersonsClicksAndKeysForTheComputersSideAreIgnored) {
    model->addComputer(0);
    Player* player0 = model->players[0];
    player0->credits = 30;
    place(ship0, freeNeighbour(player0->homeNode, enemyNode));
    click(ship0->location);
    press(' ');
    press('q');
    EXPECT_EQ(model->selectedShip, nullptr);
    EXPECT_EQ(player0->shipCount, 1);
    EXPECT_FALSE(model->endTurnRequested);

    ship0->unitStock[0] = 2;
    ship1->unitStock[0] = 2;
    model->startBattle(ship1, ship0);
    press('w');
    press('a');
    press('o');
    press('j');
    EXPECT_EQ(model->battle->defenderLane, 4);
    EXPECT_EQ(ship0->unitStock[0], 2);
    EXPECT_EQ(model->battle->attackerLane, 1) << "the person's side still answers";
    EXPECT_EQ(ship1->unitStock[0], 1);
}

}  // namespace
