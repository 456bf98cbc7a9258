#include <gtest/gtest.h>

#include "game/Model.h"
#include "game/Node.h"
#include "game/Player.h"
#include "game/Ship.h"
#include "game/TurnCycle.h"
#include "support/HandMap.h"
#include "support/World.h"

namespace {

// Line 0 - 2 - 3 - 4 - 5 - 1 of kinds 4, 0, 2, 2, 3, 4, in the state of a new
// game: each player owns its home node and has one ship standing on it.
class TurnCycleBase : public HandMapTest {
protected:
    void SetUp() override {
        build({{0, 0}, {10, 0}, {2, 0}, {4, 0}, {6, 0}, {8, 0}});
        const int kinds[] = {0, 2, 2, 3};
        for (int i = 0; i < 4; ++i) {
            HandMap::node(2 + i)->setKind(kinds[i]);
        }
        model->screen = MapScreen;
    }
};

class TurnEnd : public TurnCycleBase {};

TEST_F(TurnEnd, NothingHappensWithoutARequest) {
    model->selectedShip = first->ships[0];
    finishTurn();
    EXPECT_EQ(model->currentPlayer, 0);
    EXPECT_EQ(model->selectedShip, first->ships[0]);
}

TEST_F(TurnEnd, HandsTheTurnOverAndClearsTheShipSelectionOnly) {
    HandMap::node(0)->setSelected(true);
    model->selectedShip = first->ships[0];
    endTurn(model);
    EXPECT_EQ(model->currentPlayer, 1);
    EXPECT_EQ(model->selectedShip, nullptr);
    EXPECT_EQ(model->selectedNode, HandMap::node(0));
    EXPECT_FALSE(model->endTurnRequested);
    EXPECT_EQ(model->screen, MapScreen);
    endTurn(model);
    EXPECT_EQ(model->currentPlayer, 0);
}

class TurnEarnings : public TurnCycleBase {};

TEST_F(TurnEarnings, TheEndOfPlayerZerosTurnEarnsNothing) {
    first->gainNode(HandMap::node(2));
    Ship* ship = HandMap::placeShip(0, 2);
    endTurn(model);
    EXPECT_EQ(first->credits, 0);
    EXPECT_EQ(second->credits, 0);
    EXPECT_EQ(ship->unitStock[0], 0);
}

TEST_F(TurnEarnings, TheEndOfPlayerOnesTurnPaysOncePerPair) {
    first->gainNode(HandMap::node(3));
    first->gainNode(HandMap::node(4));
    Ship* onKindTwo = HandMap::placeShip(0, 3);
    second->gainNode(HandMap::node(5));
    Ship* onKindThree = HandMap::placeShip(1, 5);

    endTurn(model);
    endTurn(model);
    // 1 for the home node, and the home ship collects 1 per owned kind-4 node.
    EXPECT_EQ(first->credits, 2);
    EXPECT_EQ(second->credits, 2);
    EXPECT_EQ(onKindTwo->unitStock[2], 2);
    EXPECT_EQ(onKindThree->unitStock[3], 1);

    endTurn(model);
    EXPECT_EQ(first->credits, 2);
    endTurn(model);
    EXPECT_EQ(first->credits, 4);
    EXPECT_EQ(onKindTwo->unitStock[2], 4);
    EXPECT_EQ(onKindThree->unitStock[3], 2);
}

TEST_F(TurnEarnings, FiveIdlePairsPayForTheFirstShip) {
    for (int pair = 0; pair < 5; ++pair) {
        endTurn(model);
        endTurn(model);
    }
    EXPECT_EQ(first->credits, 10);
    EXPECT_EQ(second->credits, 10);
}

TEST_F(TurnEarnings, ShipsThatMovedInTheirOwnersLastTurnCollectNothing) {
    Ship* mover = HandMap::placeShip(0, 2);
    ASSERT_TRUE(mover->moveTo(HandMap::node(3)));  // during player 0's turn
    second->gainNode(HandMap::node(5));
    Ship* stepper = HandMap::placeShip(1, 5);
    stepper->destination = HandMap::node(4);

    endTurn(model);  // player 1's turn begins with stepper's automatic step
    ASSERT_EQ(stepper->location, HandMap::node(4));
    endTurn(model);
    EXPECT_EQ(mover->unitStock[2], 0);
    EXPECT_EQ(stepper->unitStock[2], 0);
    EXPECT_EQ(first->credits, 2);  // the home ships did not move
    EXPECT_EQ(second->credits, 2);
}

TEST_F(TurnEarnings, AHomeNodeHeldByTheEnemyPaysNobody) {
    first->gainNode(HandMap::node(2));
    second->gainNode(HandMap::node(0));
    endTurn(model);
    endTurn(model);
    // Player 0's ship on its lost home collects for the kind-4 nodes player 0
    // holds: none. Player 1 earns for its own home and for its home ship only,
    // whose collection counts both kind-4 nodes.
    EXPECT_EQ(first->credits, 0);
    EXPECT_EQ(second->credits, 1 + 2);
}

class TurnSteps : public TurnCycleBase {};

TEST_F(TurnSteps, OnlyTheShipsOfThePlayerWhoseTurnBeginsStep) {
    Ship* firstShip = HandMap::placeShip(0, 2);
    firstShip->moved = true;
    firstShip->destination = HandMap::node(4);
    Ship* secondShip = HandMap::placeShip(1, 5);
    secondShip->moved = true;
    secondShip->destination = HandMap::node(3);

    endTurn(model);
    EXPECT_EQ(secondShip->location, HandMap::node(4));
    EXPECT_TRUE(secondShip->moved);
    EXPECT_EQ(firstShip->location, HandMap::node(2));
    EXPECT_TRUE(firstShip->moved);
    EXPECT_EQ(first->ships[0]->location, HandMap::node(0));

    endTurn(model);
    EXPECT_EQ(firstShip->location, HandMap::node(3));
    EXPECT_EQ(secondShip->location, HandMap::node(4));
    EXPECT_EQ(secondShip->destination, HandMap::node(3));
}

class TurnLoss : public TurnCycleBase {
protected:
    // A ship of each player with an order, so that the automatic steps show.
    void SetUp() override {
        TurnCycleBase::SetUp();
        firstShip = HandMap::placeShip(0, 3);
        firstShip->destination = HandMap::node(2);
        secondShip = HandMap::placeShip(1, 4);
        secondShip->destination = HandMap::node(5);
    }

    Ship* firstShip = nullptr;
    Ship* secondShip = nullptr;
};

TEST_F(TurnLoss, PlayerZeroWithoutNodesLosesAndTheTurnEndStillRuns) {
    second->gainNode(HandMap::node(0));
    model->selectedShip = secondShip;
    endTurn(model);
    EXPECT_EQ(model->screen, EndScreen);
    EXPECT_EQ(model->loser, 0);
    EXPECT_EQ(model->currentPlayer, 1);
    EXPECT_EQ(model->selectedShip, nullptr);
    EXPECT_FALSE(model->endTurnRequested);
    EXPECT_EQ(secondShip->location, HandMap::node(5));
}

TEST_F(TurnLoss, PlayerOneWithoutNodesLosesAndTheTurnEndStillRuns) {
    endTurn(model);
    first->gainNode(HandMap::node(1));
    first->gainNode(HandMap::node(5));
    endTurn(model);
    EXPECT_EQ(model->screen, EndScreen);
    EXPECT_EQ(model->loser, 1);
    EXPECT_EQ(model->currentPlayer, 0);
    EXPECT_EQ(first->credits, 1 + 2);  // the pair's earnings were paid
    EXPECT_EQ(firstShip->location, HandMap::node(2));
}

TEST_F(TurnLoss, WhenBothOwnNothingPlayerOneIsTheLoser) {
    first->loseNode(HandMap::node(0));
    second->loseNode(HandMap::node(1));
    endTurn(model);
    EXPECT_EQ(model->screen, EndScreen);
    EXPECT_EQ(model->loser, 1);
    EXPECT_EQ(model->currentPlayer, 1);
    EXPECT_EQ(secondShip->location, HandMap::node(5));
    EXPECT_EQ(second->nodeTotal, 1);  // the automatic step took a node
}

TEST_F(TurnLoss, ANodeTakenByAnAutomaticStepCountsAtTheNextTurnEnd) {
    first->removeShip(first->ships[0]);
    first->removeShip(firstShip);
    Ship* raider = HandMap::placeShip(1, 2);
    raider->destination = HandMap::node(0);

    endTurn(model);
    ASSERT_EQ(raider->location, HandMap::node(0));
    EXPECT_EQ(first->nodeTotal, 0);
    EXPECT_EQ(model->screen, MapScreen);
    endTurn(model);
    EXPECT_EQ(model->screen, EndScreen);
    EXPECT_EQ(model->loser, 0);
}

// Line 1 - 0 - 2 - 3 - 4: player 1's ship on node 3 cuts node 4 off from
// player 0's home ship. Node 3 is owned, so every turn end leaves a smaller
// stale distance in it than in the unowned node 4 behind it.
class CutOffDestination : public HandMapTest {};

TEST_F(CutOffDestination, AShipWaitsAndWalksOnOnceAPathOpens) {
    build({{0, 0}, {-2, 0}, {2, 0}, {4, 0}, {6, 0}});
    second->gainNode(HandMap::node(3));
    Ship* blocker = HandMap::placeShip(1, 3);
    Ship* ship = first->ships[0];
    const auto endPair = [this] {
        endTurn(model);
        endTurn(model);
    };

    ship->setDestination(HandMap::node(4));
    EXPECT_EQ(ship->location, HandMap::node(0));
    for (int pair = 0; pair < 3; ++pair) {
        endPair();
        EXPECT_EQ(ship->location, HandMap::node(0));
        EXPECT_EQ(ship->destination, HandMap::node(4));
    }

    second->removeShip(blocker);
    for (int expected : {2, 3, 4}) {
        endPair();
        EXPECT_EQ(ship->location, HandMap::node(expected));
    }
    EXPECT_EQ(ship->destination, nullptr);
}

}  // namespace
