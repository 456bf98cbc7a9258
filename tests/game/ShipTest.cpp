#include <gtest/gtest.h>

#include "battle/Unit.h"
#include "game/Model.h"
#include "game/Node.h"
#include "game/Player.h"
#include "game/Ship.h"
#include "support/HandMap.h"

namespace {

// Line 0 - 2 - 3 - 4 - 5 - 1 with no ships; each test places its own.
class ShipTestBase : public HandMapTest {
protected:
    void SetUp() override {
        build({{0, 0}, {10, 0}, {2, 0}, {4, 0}, {6, 0}, {8, 0}});
        HandMap::removeAllShips();
    }

    // The start of a player's turn, as the turn cycle runs it: every ship is
    // offered its turn move, and only that player's ships take it.
    void beginTurnOf(int playerIndex) {
        model->currentPlayer = playerIndex;
        first->moveShips();
        second->moveShips();
    }
};

class ShipMoves : public ShipTestBase {};

TEST_F(ShipMoves, AShipMovesOnceInATurnOfItsOwner) {
    Ship* ship = HandMap::placeShip(0, 2);
    ASSERT_TRUE(ship->moveTo(HandMap::node(3)));
    EXPECT_TRUE(ship->moved);
    EXPECT_EQ(ship->location, HandMap::node(3));
    EXPECT_EQ(HandMap::node(3)->ship, ship);
    EXPECT_EQ(HandMap::node(2)->ship, nullptr);
    EXPECT_EQ(HandMap::node(3)->owner, HandMap::player(0));

    EXPECT_FALSE(ship->moveTo(HandMap::node(4)));
    EXPECT_FALSE(ship->moveTo(HandMap::node(2)));
    EXPECT_EQ(ship->location, HandMap::node(3));

    beginTurnOf(1);  // the other player's turn leaves the flag alone
    EXPECT_TRUE(ship->moved);
    EXPECT_FALSE(ship->moveTo(HandMap::node(4)));

    beginTurnOf(0);
    EXPECT_FALSE(ship->moved);
    EXPECT_TRUE(ship->moveTo(HandMap::node(4)));
}

TEST_F(ShipMoves, RefusedMovesChangeNothingButTheSelection) {
    Ship* ship = HandMap::placeShip(0, 3);
    HandMap::placeShip(0, 2);
    HandMap::placeShip(1, 4);
    Node* const refused[] = {HandMap::node(2), HandMap::node(4), HandMap::node(5), HandMap::node(3),
                             nullptr};
    for (Node* target : refused) {
        model->selectedShip = ship;
        EXPECT_FALSE(ship->moveTo(target));
        EXPECT_EQ(model->selectedShip, nullptr);
        EXPECT_EQ(ship->location, HandMap::node(3));
        EXPECT_EQ(HandMap::node(3)->ship, ship);
        EXPECT_FALSE(ship->moved);
    }
    EXPECT_EQ(HandMap::player(0)->nodeTotal, 1);
    EXPECT_EQ(HandMap::node(4)->owner, nullptr);
}

TEST_F(ShipMoves, OnlyTheMovingShipLosesTheSelection) {
    Ship* selected = HandMap::placeShip(0, 2);
    Ship* other = HandMap::placeShip(0, 4);
    model->selectedShip = selected;
    EXPECT_TRUE(other->moveTo(HandMap::node(5)));
    EXPECT_FALSE(other->moveTo(HandMap::node(4)));
    EXPECT_EQ(model->selectedShip, selected);
    EXPECT_TRUE(selected->moveTo(HandMap::node(3)));
    EXPECT_EQ(model->selectedShip, nullptr);
}

TEST_F(ShipMoves, EnteringAnEnemyNodeTakesIt) {
    HandMap::node(4)->setKind(2);
    HandMap::player(1)->gainNode(HandMap::node(4));
    Ship* ship = HandMap::placeShip(0, 3);
    ASSERT_TRUE(ship->moveTo(HandMap::node(4)));
    EXPECT_EQ(HandMap::node(4)->owner, HandMap::player(0));
    EXPECT_EQ(HandMap::player(0)->kindCounts[2], 1);
    EXPECT_EQ(HandMap::player(0)->nodeTotal, 2);
    EXPECT_EQ(HandMap::player(1)->kindCounts[2], 0);
    EXPECT_EQ(HandMap::player(1)->nodeTotal, 1);
}

class ShipOrders : public ShipTestBase {};

TEST_F(ShipOrders, AnUnmovedShipStepsAtOnceAndKeepsItsDestination) {
    Ship* ship = HandMap::placeShip(0, 0);
    ship->setDestination(HandMap::node(5));
    EXPECT_EQ(ship->location, HandMap::node(2));
    EXPECT_TRUE(ship->moved);
    EXPECT_EQ(ship->destination, HandMap::node(5));

    // A new order after the move is only recorded: no step is tried, so the
    // selection stays too.
    model->selectedShip = ship;
    ship->setDestination(HandMap::node(1));
    EXPECT_EQ(ship->location, HandMap::node(2));
    EXPECT_EQ(ship->destination, HandMap::node(1));
    EXPECT_EQ(model->selectedShip, ship);

    beginTurnOf(1);
    EXPECT_EQ(ship->location, HandMap::node(2));
    beginTurnOf(0);
    EXPECT_EQ(ship->location, HandMap::node(3));
    EXPECT_TRUE(ship->moved);
}

TEST_F(ShipOrders, ArrivalClearsTheDestination) {
    Ship* ship = HandMap::placeShip(1, 3);
    ship->setDestination(HandMap::node(4));  // one step away: reached at once
    EXPECT_EQ(ship->location, HandMap::node(4));
    EXPECT_EQ(ship->destination, nullptr);

    ship->setDestination(HandMap::node(1));
    for (Node* expected : {HandMap::node(5), HandMap::node(1), HandMap::node(1)}) {
        beginTurnOf(1);
        EXPECT_EQ(ship->location, expected);
    }
    EXPECT_EQ(ship->destination, nullptr);
    EXPECT_FALSE(ship->moved);  // the last turn began with nothing to do
}

TEST_F(ShipOrders, AnOrderToTheShipsOwnNodeIsDroppedAndDropsTheSelection) {
    Ship* ship = HandMap::placeShip(0, 3);
    model->selectedShip = ship;
    ship->setDestination(HandMap::node(3));
    EXPECT_EQ(ship->destination, nullptr);
    EXPECT_EQ(ship->location, HandMap::node(3));
    EXPECT_FALSE(ship->moved);
    EXPECT_EQ(model->selectedShip, nullptr);
}

TEST_F(ShipOrders, ANullOrderCancelsAndTheShipStaysPut) {
    Ship* ship = HandMap::placeShip(0, 0);
    ship->setDestination(HandMap::node(4));
    ship->setDestination(nullptr);
    EXPECT_EQ(ship->destination, nullptr);
    beginTurnOf(0);
    EXPECT_EQ(ship->location, HandMap::node(2));
    EXPECT_FALSE(ship->moved);
}

TEST_F(ShipOrders, AShipStopsNextToADestinationThatGetsOccupied) {
    Ship* ship = HandMap::placeShip(0, 0);
    ship->setDestination(HandMap::node(4));
    beginTurnOf(0);
    ASSERT_EQ(ship->location, HandMap::node(3));
    HandMap::placeShip(1, 4);
    for (int turn = 0; turn < 3; ++turn) {
        beginTurnOf(0);
        EXPECT_EQ(ship->location, HandMap::node(3));
        EXPECT_FALSE(ship->moved);
    }
    EXPECT_EQ(ship->destination, HandMap::node(4));
}

class ShipStock : public ShipTestBase {};

TEST_F(ShipStock, UnitStockGrowsWithEveryOwnedNodeOfTheKindUpToTen) {
    Player* owner = HandMap::player(0);
    for (int i : {2, 3, 4}) {
        HandMap::node(i)->setKind(2);
        owner->gainNode(HandMap::node(i));
    }
    Ship* ship = HandMap::placeShip(0, 2);
    ship->collect(2);
    EXPECT_EQ(ship->unitStock[2], 3);
    ship->unitStock[2] = 8;
    ship->collect(2);
    EXPECT_EQ(ship->unitStock[2], 10);
    ship->collect(2);
    EXPECT_EQ(ship->unitStock[2], 10);
    ship->collect(0);  // the owner holds no node of kind 0
    for (int kind : {kUnsetKind, 5, 99}) {
        ship->collect(kind);  // kinds that produce nothing
    }
    EXPECT_EQ(ship->unitStock[0], 0);
    EXPECT_EQ(ship->unitStock[1], 0);
    EXPECT_EQ(ship->unitStock[3], 0);
    EXPECT_EQ(owner->credits, 0);
}

TEST_F(ShipStock, ACreditNodeAddsTheOwnersCountOfCreditNodes) {
    Player* owner = HandMap::player(1);
    HandMap::node(5)->setKind(kCreditKind);
    owner->gainNode(HandMap::node(5));
    Ship* ship = HandMap::placeShip(1, 5);
    ship->collect(kCreditKind);
    EXPECT_EQ(owner->credits, 2);
    EXPECT_EQ(HandMap::player(0)->credits, 0);
    for (int stock : ship->unitStock) {
        EXPECT_EQ(stock, 0);
    }
}

TEST_F(ShipStock, SpawningTakesOneUnitFromTheStock) {
    Ship* ship = HandMap::placeShip(1, 2);
    EXPECT_EQ(ship->spawnUnit(3), nullptr);
    EXPECT_EQ(ship->unitStock[3], 0);

    ship->unitStock[1] = 2;
    Unit* unit = ship->spawnUnit(1);
    ASSERT_NE(unit, nullptr);
    EXPECT_EQ(unit->kind, 1);
    EXPECT_EQ(unit->owner, HandMap::player(1));
    EXPECT_EQ(ship->unitStock[1], 1);
    delete unit;

    EXPECT_EQ(ship->spawnUnit(-1), nullptr);
    EXPECT_EQ(ship->spawnUnit(kUnitKinds), nullptr);
    EXPECT_EQ(ship->unitStock[1], 1);
}

class NodeSelection : public ShipTestBase {};

TEST_F(NodeSelection, OneNodeIsHighlightedAtATime) {
    Node* first = HandMap::node(2);
    Node* second = HandMap::node(3);
    first->setSelected(true);
    EXPECT_TRUE(first->selected);
    EXPECT_EQ(model->selectedNode, first);

    second->setSelected(true);
    EXPECT_FALSE(first->selected);
    EXPECT_TRUE(second->selected);
    EXPECT_EQ(model->selectedNode, second);

    second->setSelected(true);
    EXPECT_TRUE(second->selected);
    EXPECT_EQ(model->selectedNode, second);

    second->setSelected(false);
    EXPECT_FALSE(second->selected);
    EXPECT_EQ(model->selectedNode, nullptr);
}

}  // namespace
