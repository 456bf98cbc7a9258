#include <gtest/gtest.h>

#include <vector>

#include "game/Model.h"
#include "game/Node.h"
#include "game/Player.h"
#include "game/Ship.h"
#include "support/Guarded.h"
#include "support/HandMap.h"

namespace {

std::vector<Node*> ownedNodes(const Player* player) {
    return std::vector<Node*>(player->nodes, player->nodes + player->nodeTotal);
}

std::vector<Ship*> shipsOf(const Player* player) {
    return std::vector<Ship*>(player->ships, player->ships + player->shipCount);
}

int kindTotal(const Player* player) {
    int total = 0;
    for (int count : player->kindCounts) {
        total += count;
    }
    return total;
}

// Line 0 - 2 - 3 - 4 - 5 - 6 - 1. Nodes 2 to 6 are of kinds 0, 2, 2, 3 and the
// unset kind; the homes keep kind 4.
class PlayerNodes : public HandMapTest {
protected:
    void SetUp() override {
        build({{0, 0}, {12, 0}, {2, 0}, {4, 0}, {6, 0}, {8, 0}, {10, 0}});
        const int kinds[] = {0, 2, 2, 3, kUnsetKind};
        for (int i = 0; i < 5; ++i) {
            HandMap::node(2 + i)->setKind(kinds[i]);
        }
    }
};

TEST_F(PlayerNodes, GainingAnOwnedNodeChangesNothing) {
    first->gainNode(HandMap::node(2));
    first->gainNode(HandMap::node(3));
    first->gainNode(HandMap::node(2));
    first->gainNode(HandMap::node(0));
    EXPECT_EQ(ownedNodes(first),
              (std::vector<Node*>{HandMap::node(0), HandMap::node(2), HandMap::node(3)}));
    EXPECT_EQ(first->nodeTotal, 3);
    EXPECT_EQ(first->kindCounts[0], 1);
    EXPECT_EQ(first->kindCounts[2], 1);
    EXPECT_EQ(first->kindCounts[kCreditKind], 1);
}

TEST_F(PlayerNodes, GainingAnEnemyNodeTransfersItAndKeepsBothOrders) {
    second->gainNode(HandMap::node(3));
    second->gainNode(HandMap::node(4));
    second->gainNode(HandMap::node(5));
    first->gainNode(HandMap::node(2));

    first->gainNode(HandMap::node(3));

    EXPECT_EQ(HandMap::node(3)->owner, first);
    EXPECT_EQ(ownedNodes(second),
              (std::vector<Node*>{HandMap::node(1), HandMap::node(4), HandMap::node(5)}));
    EXPECT_EQ(second->nodeTotal, 3);
    EXPECT_EQ(second->kindCounts[2], 1);
    EXPECT_EQ(second->kindCounts[3], 1);
    EXPECT_EQ(ownedNodes(first),
              (std::vector<Node*>{HandMap::node(0), HandMap::node(2), HandMap::node(3)}));
    EXPECT_EQ(first->nodeTotal, 3);
    EXPECT_EQ(first->kindCounts[2], 1);

    // A home node changes hands like any other.
    first->gainNode(HandMap::node(1));
    EXPECT_EQ(second->kindCounts[kCreditKind], 0);
    EXPECT_EQ(first->kindCounts[kCreditKind], 2);
    EXPECT_EQ(second->homeNode, HandMap::node(1));
}

TEST_F(PlayerNodes, ANodeOfUnsetKindCountsInTheTotalOnly) {
    first->gainNode(HandMap::node(6));
    EXPECT_EQ(first->nodeTotal, 2);
    EXPECT_EQ(kindTotal(first), 1);
    second->gainNode(HandMap::node(6));
    EXPECT_EQ(first->nodeTotal, 1);
    EXPECT_EQ(kindTotal(first), 1);
    EXPECT_EQ(second->nodeTotal, 2);
}

TEST_F(PlayerNodes, APlayerHasRoomForEveryNode) {
    for (int i = 0; i < model->nodeCount; ++i) {
        first->gainNode(HandMap::node(i));
    }
    EXPECT_EQ(first->nodeTotal, model->nodeCount);
    EXPECT_EQ(second->nodeTotal, 0);
    EXPECT_EQ(first->nodes[first->nodeTotal - 1], HandMap::node(6));
}

TEST_F(PlayerNodes, LosingANodeThePlayerDoesNotHoldChangesNothing) {
    second->gainNode(HandMap::node(3));
    EXPECT_GUARDED(first->loseNode(HandMap::node(3)), "only lose a node it holds");
    EXPECT_GUARDED(first->loseNode(nullptr), "only lose a node it holds");
    first->gainNode(nullptr);
    EXPECT_EQ(first->nodeTotal, 1);
    EXPECT_EQ(kindTotal(first), 1);
    EXPECT_EQ(HandMap::node(3)->owner, second);
    EXPECT_EQ(second->nodeTotal, 2);
}

class PlayerShips : public HandMapTest {
protected:
    void SetUp() override { build(HandMap::line(5)); }
};

TEST_F(PlayerShips, BuyingPutsAShipOnAFreeNodeAndLeavesItsOwner) {
    second->gainNode(HandMap::node(3));
    ASSERT_TRUE(first->buyShip(HandMap::node(3)));
    Ship* ship = first->ships[1];
    EXPECT_EQ(first->shipCount, 2);
    EXPECT_EQ(ship->owner, first);
    EXPECT_EQ(ship->location, HandMap::node(3));
    EXPECT_EQ(HandMap::node(3)->ship, ship);
    EXPECT_EQ(HandMap::node(3)->owner, second);
    EXPECT_FALSE(ship->moved);
    EXPECT_EQ(ship->destination, nullptr);
    EXPECT_EQ(ship->health, kFullHealth);

    EXPECT_FALSE(first->buyShip(HandMap::node(3)));
    EXPECT_FALSE(second->buyShip(HandMap::node(0)));
    EXPECT_FALSE(first->buyShip(nullptr));
    EXPECT_EQ(first->shipCount, 2);
    EXPECT_EQ(second->shipCount, 1);
    EXPECT_EQ(HandMap::node(3)->ship, ship);
}

TEST_F(PlayerShips, BuyingAtHomeNeedsTenCreditsAndAFreeHome) {
    first->removeShip(first->ships[0]);

    first->credits = 9;
    first->buyShipAtHome();
    EXPECT_EQ(first->shipCount, 0);
    EXPECT_EQ(first->credits, 9);

    first->credits = 10;
    first->buyShipAtHome();
    ASSERT_EQ(first->shipCount, 1);
    EXPECT_EQ(first->ships[0]->location, HandMap::node(0));
    EXPECT_EQ(first->credits, 0);

    first->credits = 25;
    first->buyShipAtHome();  // the ship just bought still stands at home
    EXPECT_EQ(first->shipCount, 1);
    EXPECT_EQ(first->credits, 25);

    // An enemy ship on the home node blocks the purchase as well.
    second->credits = 25;
    second->removeShip(second->ships[0]);
    HandMap::placeShip(0, 1);
    second->buyShipAtHome();
    EXPECT_EQ(second->shipCount, 0);
    EXPECT_EQ(second->credits, 25);
}

TEST_F(PlayerShips, AHomeTakenByTheEnemyStillTakesPurchasesAndStaysTheEnemys) {
    second->removeShip(second->ships[0]);
    first->gainNode(HandMap::node(1));
    second->credits = 10;
    second->buyShipAtHome();
    ASSERT_EQ(second->shipCount, 1);
    EXPECT_EQ(second->ships[0]->location, HandMap::node(1));
    EXPECT_EQ(HandMap::node(1)->owner, first);
    EXPECT_EQ(second->credits, 0);
}

TEST_F(PlayerShips, RemovingAShipKeepsTheOrderOfTheRestAndDropsTheSelection) {
    Ship* home = first->ships[0];
    Ship* a = HandMap::placeShip(0, 2);
    Ship* b = HandMap::placeShip(0, 3);
    Ship* c = HandMap::placeShip(0, 4);
    model->selectedShip = c;

    first->removeShip(a);
    EXPECT_EQ(shipsOf(first), (std::vector<Ship*>{home, b, c}));
    EXPECT_EQ(HandMap::node(2)->ship, nullptr);
    EXPECT_EQ(model->selectedShip, nullptr);  // whichever ship was selected

    first->removeShip(c);
    EXPECT_EQ(shipsOf(first), (std::vector<Ship*>{home, b}));
    first->removeShip(home);
    EXPECT_EQ(shipsOf(first), (std::vector<Ship*>{b}));
    EXPECT_EQ(HandMap::node(0)->ship, nullptr);
    EXPECT_EQ(HandMap::node(3)->ship, b);
    EXPECT_EQ(HandMap::node(0)->owner, first);  // the node stays owned
}

TEST_F(PlayerShips, RemovingAShipOfAnotherPlayerChangesNothing) {
    Ship* theirs = second->ships[0];
    model->selectedShip = theirs;
    EXPECT_GUARDED(first->removeShip(theirs), "only remove a ship it holds");
    EXPECT_GUARDED(first->removeShip(nullptr), "only remove a ship it holds");
    EXPECT_EQ(first->shipCount, 1);
    EXPECT_EQ(second->shipCount, 1);
    EXPECT_EQ(HandMap::node(1)->ship, theirs);
    EXPECT_EQ(model->selectedShip, theirs);
}

}  // namespace
