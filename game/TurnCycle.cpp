#include "game/TurnCycle.h"

#include "game/Model.h"
#include "game/Node.h"
#include "game/NodeMap.h"
#include "game/Player.h"
#include "game/Ship.h"

namespace {

constexpr int kTurnPlayers = 2;     // the turn alternates between players 0 and 1
constexpr int kPayingTurnEnd = 1;   // earnings come once per pair, when player 1 ends
constexpr int kHomeNodeIncome = 1;  // credits for still holding the home node

// Only the number of owned nodes decides: a player without ships but with
// nodes plays on. Player 1 is tested last, so it is the loser when both are.
void testForLoser(Model* model) {
    int lost = -1;
    for (int index = 0; index < kTurnPlayers; ++index) {
        if (model->players[index]->nodeTotal == 0) {
            lost = index;
        }
    }
    if (lost < 0) {
        return;
    }
    model->screen = EndScreen;
    model->loser = static_cast<unsigned char>(lost);
    model->report.add(TickEventKind::GameOver, lost);
}

}  // namespace

// The whole turn end runs even when the loss test has just ended the game.
void finishTurn() {
    Model* model = Model::getSelf();
    if (!model->endTurnRequested) {
        return;
    }
    testForLoser(model);
    model->nodeMap->endTurnAll();
    model->selectedShip = nullptr;
    model->report.add(TickEventKind::TurnEnded, model->currentPlayer);
    model->currentPlayer = (model->currentPlayer + 1) % kTurnPlayers;
    for (int index = 0; index < model->playerCount; ++index) {
        model->players[index]->moveShips();
    }
    model->endTurnRequested = false;
    ++model->turn;
}

// Runs while currentPlayer still names the player who ends the turn.
void NodeMap::endTurnAll() {
    const int count = Model::getSelf()->nodeCount;
    for (int i = 0; i < count; ++i) {
        nodes[i]->endTurn();
    }
}

// A ship collects when it stayed put during its owner's last turn: a player-1
// ship's flag covers the turn just ending, a player-0 ship's flag the turn
// before, since nothing clears it in between.
void Node::endTurn() {
    if (owner == nullptr) {
        return;
    }
    distance = kUnvisited;
    if (Model::getSelf()->currentPlayer != kPayingTurnEnd) {
        return;
    }
    if (ship != nullptr && !ship->moved) {
        ship->collect(kind);
    }
    if (owner->homeNode == this) {
        owner->credits += kHomeNodeIncome;
    }
}
