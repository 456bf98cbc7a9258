#include "ai/ComputerPlayer.h"

#include <algorithm>

#include "ai/BattleTactics.h"
#include "ai/MapTactics.h"
#include "battle/Battle.h"
#include "game/Model.h"
#include "game/Node.h"
#include "game/NodeMap.h"
#include "game/Player.h"
#include "game/Ship.h"
#include "render/Selector.h"

ComputerPlayer::ComputerPlayer(int playedSide) : side(playedSide) {}

void ComputerPlayer::actForAll() {
    Model* model = Model::getSelf();
    for (ComputerPlayer* computer : model->computers) {
        if (computer != nullptr) {
            computer->act();
        }
    }
}

void ComputerPlayer::act() {
    const Model* model = Model::getSelf();
    if (model->screen == MapScreen && model->currentPlayer != side) {
        onTurn_ = false;
    }
    if (pause_ > 0) {
        --pause_;
        return;
    }
    switch (model->screen) {
        case TitleScreen:
            actOnTitle();
            break;
        case MapScreen:
            actOnMap();
            break;
        case BattleScreen:
            actInBattle();
            break;
        default:
            break;
    }
}

// Alone, the program starts its own game, as the key a person would press.
void ComputerPlayer::actOnTitle() {
    Model* model = Model::getSelf();
    const bool alone = std::all_of(std::begin(model->computers), std::end(model->computers),
                                   [](const ComputerPlayer* computer) { return computer; });
    if (alone && side == 0 && model->clock >= kDemoStart * kClockPerFrame) {
        model->screen = MapScreen;
    }
}

void ComputerPlayer::startTurn() {
    onTurn_ = true;
    played_.clear();
    pendingClick_ = nullptr;
    pause_ = kMapPause;  // the other player first sees the turn change
}

bool ComputerPlayer::playedThisTurn(const Ship* ship) const {
    return std::find(played_.begin(), played_.end(), ship) != played_.end();
}

void ComputerPlayer::actOnMap() {
    Model* model = Model::getSelf();
    if (model->currentPlayer != side || model->endTurnRequested) {
        return;
    }
    if (!onTurn_) {
        startTurn();
        return;
    }
    pause_ = kMapPause;
    ++actions;
    if (pendingClick_ != nullptr) {
        click(pendingClick_);
        pendingClick_ = nullptr;
        return;
    }
    Player* player = model->players[side];
    const MapTactics tactics(side);
    if (tactics.shouldBuy()) {
        player->buyShipAtHome();
        return;
    }
    for (int i = 0; i < player->shipCount; ++i) {
        const Ship* ship = player->ships[i];
        if (ship->moved || playedThisTurn(ship)) {
            continue;
        }
        played_.push_back(ship);
        const ShipOrder order = tactics.orderFor(*ship);
        if (order.kind != ShipOrder::Kind::Stay) {
            click(ship->location);  // selects the ship
            pendingClick_ = order.node;
            return;
        }
    }
    model->endTurnRequested = true;
}

void ComputerPlayer::actInBattle() {
    Model* model = Model::getSelf();
    Battle* battle = model->battle;
    if (battle == nullptr) {
        return;
    }
    Ship* ship = battle->shipOf(model->players[side]);
    const BattleAction action = BattleTactics(*battle, *ship).next();
    const bool attackerSide = ship == battle->attacker;
    switch (action.kind) {
        case BattleAction::Kind::Wait:
            return;
        case BattleAction::Kind::CursorLeft:
            battle->moveCursor(0, attackerSide);
            break;
        case BattleAction::Kind::CursorRight:
            battle->moveCursor(1, attackerSide);
            break;
        case BattleAction::Kind::Deploy:
            battle->deploy(ship, action.unitKind);
            break;
    }
    pause_ = kBattlePause;
    ++actions;
}

// Puts the cursor on the node, as the pointer would, and clicks there; the
// pointer is aimed there too, so that the cursor shows where the program plays.
void ComputerPlayer::click(Node* node) {
    Model* model = Model::getSelf();
    model->selector->aimAt(node->gridX, node->gridZ);
    model->nodeMap->handleClick();
}
