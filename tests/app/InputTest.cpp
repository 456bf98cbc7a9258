#include <GL/glut.h>
#include <gtest/gtest.h>

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

// A grown 50-node map with both players' starting ships; tests move ships by
// hand to the places they need.
class InputTest : public ::testing::Test {
protected:
    void SetUp() override {
        model = buildWorld(2024);
        model->screen = MapScreen;
        ship0 = model->players[0]->ships[0];
        ship1 = model->players[1]->ships[0];
    }
    void TearDown() override { Model::resetSelf(); }

    // The input's commands, applied as the next tick applies them.
    void settle() { model->commands.applyDue(model->tick); }
    void press(unsigned char key) {
        onKeyboard(key, 0, 0);
        settle();
    }
    void mouse(int button, int state) {
        onMouse(button, state, 0, 0);
        settle();
    }
    void pointAt(const Node* node) { aimPointerAt(model, node->gridX, node->gridZ); }
    void click(const Node* node) {
        pointAt(node);
        mouse(GLUT_LEFT_BUTTON, GLUT_DOWN);
    }
    void clickBesideTheMap() {
        aimPointerAt(model, 1000, 1000);
        mouse(GLUT_LEFT_BUTTON, GLUT_DOWN);
    }
    // Puts a ship on a node by hand, without moving or taking the node.
    static void place(Ship* ship, Node* node) {
        ship->location->ship = nullptr;
        ship->location = node;
        node->ship = ship;
    }
    // A free neighbour of node, other than the excluded one.
    static Node* freeNeighbour(const Node* node, const Node* excluded = nullptr) {
        for (int slot = 0; slot < kSlotCount; ++slot) {
            Node* next = node->neighbors[slot];
            if (next != nullptr && next->ship == nullptr && next != excluded) {
                return next;
            }
        }
        return nullptr;
    }
    // A node at least two steps away from node that holds no ship.
    Node* farFreeNode(const Node* node) const {
        for (int i = 0; i < model->nodeCount; ++i) {
            Node* other = model->nodes[i];
            if (other != node && other->ship == nullptr && !node->isNeighbor(other)) {
                return other;
            }
        }
        return nullptr;
    }
    void selectShip0() {
        click(ship0->location);
        ASSERT_EQ(model->selectedShip, ship0);
        ASSERT_EQ(model->selectedNode, ship0->location);
    }
    // Orders ship 0, moved already this turn, to a far node, which it keeps as
    // its destination without a step, and selects it again.
    void selectShip0WithAFarOrder(Node** far) {
        ship0->moved = true;
        selectShip0();
        *far = farFreeNode(ship0->location);
        click(*far);
        ASSERT_EQ(ship0->destination, *far);
        selectShip0();
    }

    Model* model = nullptr;
    Ship* ship0 = nullptr;
    Ship* ship1 = nullptr;
};

TEST_F(InputTest, PointerMapsToMinusOneToOneAcrossTheWindow) {
    onPassiveMotion(0, 0);
    EXPECT_FLOAT_EQ(model->pointerX, 1);
    EXPECT_FLOAT_EQ(model->pointerY, -1);
    onPassiveMotion(500, 400);
    EXPECT_FLOAT_EQ(model->pointerX, -1);
    EXPECT_FLOAT_EQ(model->pointerY, 1);
    onPassiveMotion(250, 200);
    EXPECT_FLOAT_EQ(model->pointerX, 0);
    EXPECT_FLOAT_EQ(model->pointerY, 0);
    onPassiveMotion(125, 300);
    EXPECT_FLOAT_EQ(model->pointerX, 0.5f);
    EXPECT_FLOAT_EQ(model->pointerY, 0.5f);
}

TEST_F(InputTest, OnlyALeftPressOnTheMapClicks) {
    const Node* home = ship0->location;
    pointAt(home);
    mouse(GLUT_LEFT_BUTTON, GLUT_UP);
    mouse(GLUT_RIGHT_BUTTON, GLUT_DOWN);
    mouse(GLUT_MIDDLE_BUTTON, GLUT_DOWN);
    model->screen = TitleScreen;
    mouse(GLUT_LEFT_BUTTON, GLUT_DOWN);
    EXPECT_EQ(model->screen, TitleScreen);
    EXPECT_EQ(model->selectedNode, nullptr);
    EXPECT_EQ(model->selectedShip, nullptr);
    model->screen = MapScreen;
    mouse(GLUT_LEFT_BUTTON, GLUT_DOWN);
    EXPECT_EQ(model->selectedShip, ship0);
}

TEST_F(InputTest, ClicksWithoutASelectedShipSelectNodesAndOwnShips) {
    Node* empty = freeNeighbour(ship0->location);
    click(empty);
    EXPECT_EQ(model->selectedNode, empty);
    EXPECT_TRUE(empty->selected);
    EXPECT_EQ(model->selectedShip, nullptr);

    // An enemy ship cannot be selected: nothing changes.
    click(ship1->location);
    EXPECT_EQ(model->selectedNode, empty);
    EXPECT_EQ(model->selectedShip, nullptr);

    click(ship0->location);
    EXPECT_FALSE(empty->selected);
    EXPECT_EQ(model->selectedNode, ship0->location);
    EXPECT_EQ(model->selectedShip, ship0);
}

TEST_F(InputTest, AClickBesideTheMapDropsTheSelection) {
    Node* empty = freeNeighbour(ship0->location);
    click(empty);
    clickBesideTheMap();
    EXPECT_EQ(model->selectedNode, nullptr);
    EXPECT_FALSE(empty->selected);

    // With a ship selected it also cancels that ship's order.
    Node* far = nullptr;
    ASSERT_NO_FATAL_FAILURE(selectShip0WithAFarOrder(&far));
    clickBesideTheMap();
    EXPECT_EQ(ship0->destination, nullptr);
    EXPECT_EQ(model->selectedShip, nullptr);
    EXPECT_EQ(model->selectedNode, nullptr);
}

TEST_F(InputTest, AnOrderToANeighbourMovesTheShipAndLeavesNoShipSelected) {
    Node* home = ship0->location;
    Node* target = freeNeighbour(home);
    selectShip0();
    click(target);
    EXPECT_EQ(ship0->location, target);
    EXPECT_EQ(target->ship, ship0);
    EXPECT_EQ(home->ship, nullptr);
    EXPECT_EQ(target->owner, model->players[0]);
    EXPECT_EQ(ship0->destination, nullptr) << "arrived";
    EXPECT_TRUE(ship0->moved);
    EXPECT_EQ(model->selectedShip, nullptr);
    EXPECT_EQ(model->selectedNode, target) << "the clicked node stays selected";
}

TEST_F(InputTest, AnOrderToAFarNodeStepsOnceAndKeepsTheDestination) {
    Node* home = ship0->location;
    Node* far = farFreeNode(home);
    selectShip0();
    click(far);
    EXPECT_EQ(ship0->destination, far);
    EXPECT_TRUE(home->isNeighbor(ship0->location)) << "one step towards it";
    EXPECT_TRUE(ship0->moved);
    EXPECT_EQ(model->selectedShip, nullptr);
    EXPECT_EQ(model->selectedNode, far);
}

TEST_F(InputTest, AClickOnAnotherOwnShipMovesTheSelectionAndKeepsTheFirstOrder) {
    Player* player0 = model->players[0];
    place(ship0, freeNeighbour(ship0->location));
    player0->credits = 10;
    player0->buyShipAtHome();
    ASSERT_EQ(player0->shipCount, 2);
    Ship* second = player0->ships[1];

    Node* far = nullptr;
    ASSERT_NO_FATAL_FAILURE(selectShip0WithAFarOrder(&far));
    click(second->location);
    EXPECT_EQ(model->selectedShip, second);
    EXPECT_EQ(model->selectedNode, second->location);
    EXPECT_FALSE(ship0->location->selected);
    EXPECT_EQ(ship0->destination, far);
}

class AttackTest : public InputTest {
protected:
    void SetUp() override {
        InputTest::SetUp();
        enemyNode = freeNeighbour(ship0->location);
        place(ship1, enemyNode);
    }
    Node* enemyNode = nullptr;
};

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

TEST_F(InputTest, AnyCharacterKeyLeavesTheTitleScreen) {
    model->screen = TitleScreen;
    onSpecialKey(GLUT_KEY_LEFT, 0, 0);
    EXPECT_EQ(model->screen, TitleScreen);
    press('x');
    EXPECT_EQ(model->screen, MapScreen);
}

TEST_F(InputTest, EndTurnKeysBelongToTheirPlayer) {
    press('p');
    press('Q');
    EXPECT_FALSE(model->endTurnRequested);
    press('q');
    EXPECT_TRUE(model->endTurnRequested);

    model->endTurnRequested = false;
    model->currentPlayer = 1;
    press('q');
    press('P');
    EXPECT_FALSE(model->endTurnRequested);
    press('p');
    EXPECT_TRUE(model->endTurnRequested);
}

TEST_F(InputTest, SpaceBuysForTheCurrentPlayerWhenItCan) {
    Player* player1 = model->players[1];
    model->currentPlayer = 1;
    player1->credits = 25;
    press(' ');
    EXPECT_EQ(player1->shipCount, 1) << "the home node is occupied";
    EXPECT_EQ(player1->credits, 25);

    place(ship1, freeNeighbour(player1->homeNode));
    press(' ');
    EXPECT_EQ(player1->shipCount, 2);
    EXPECT_EQ(player1->credits, 15);
    EXPECT_EQ(player1->homeNode->ship, player1->ships[1]);
    EXPECT_EQ(model->players[0]->shipCount, 1);
}

TEST_F(InputTest, UnusedKeysChangeNothingOnTheMap) {
    model->players[0]->credits = 30;
    place(ship0, freeNeighbour(ship0->location));
    for (int key = 1; key < 256; ++key) {
        if (key == 27 || key == ' ' || key == 'q') {
            continue;
        }
        press(static_cast<unsigned char>(key));
        onSpecialKey(key, 0, 0);
    }
    EXPECT_EQ(model->screen, MapScreen);
    EXPECT_FALSE(model->endTurnRequested);
    EXPECT_EQ(model->players[0]->shipCount, 1);
    EXPECT_EQ(model->players[0]->credits, 30);
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

TEST_F(InputTest, EscapeEndsTheProcessWithStatusZeroOnEveryScreen) {
    for (const int screen : {0, 2, 6}) {
        model->screen = static_cast<Screen>(screen);
        EXPECT_EXIT(onKeyboard(27, 0, 0), ::testing::ExitedWithCode(0), "") << screen;
    }
    place(ship1, freeNeighbour(ship0->location));
    model->startBattle(ship0, ship1);
    EXPECT_EXIT(onKeyboard(27, 0, 0), ::testing::ExitedWithCode(0), "");
}

TEST_F(InputTest, TheEndScreenIgnoresEveryOtherKey) {
    model->screen = EndScreen;
    for (int key = 1; key < 256; ++key) {
        if (key != 27) {
            press(static_cast<unsigned char>(key));
        }
    }
    EXPECT_EQ(model->screen, EndScreen);
}

}  // namespace
