// The input callbacks on the map and the other screens: the pointer, clicks
// that select and order, and the keys.
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
