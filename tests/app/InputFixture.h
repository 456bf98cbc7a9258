#pragma once
// What the input callbacks' tests share: a grown map with both players'
// starting ships, the callbacks' commands applied as the next tick applies
// them, and a ship of player 1 placed next to player 0's for the attacks.
#include <GL/glut.h>
#include <gtest/gtest.h>

#include "app/Input.h"
#include "game/Model.h"
#include "game/Node.h"
#include "game/Player.h"
#include "game/Ship.h"
#include "support/CellPointer.h"
#include "support/World.h"

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

class AttackTest : public InputTest {
protected:
    void SetUp() override {
        InputTest::SetUp();
        enemyNode = freeNeighbour(ship0->location);
        place(ship1, enemyNode);
    }
    Node* enemyNode = nullptr;
};
