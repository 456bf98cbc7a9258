#include "ai/ComputerPlayer.h"

#include <algorithm>

#include "ai/BattleTactics.h"
#include "ai/MapTactics.h"
#include "battle/Battle.h"
#include "game/Model.h"
#include "game/Node.h"
#include "game/Player.h"
#include "game/Ship.h"
#include "render/Selector.h"

ComputerPlayer::ComputerPlayer(int playedSide) : side(playedSide) {}

void ComputerPlayer::give(std::uint64_t tick, CommandQueue& queue) {
    forgetLostShips();
    queue_ = &queue;
    tick_ = tick;
    act();
    queue_ = nullptr;
}

void ComputerPlayer::emit(CommandKind kind) {
    Command command;
    command.kind = kind;
    emit(command);
}

// The command takes effect in the tick it is given for, before the rules step,
// so the next decision sees its outcome.
void ComputerPlayer::emit(Command command) {
    command.side = side;
    command.tick = tick_;
    queue_->push(command);
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
    if (alone && side == 0 && model->clock >= kDemoStart * kClockPerTick) {
        emit(CommandKind::LeaveTitle);
    }
}

void ComputerPlayer::startTurn() {
    onTurn_ = true;
    played_.clear();
    pendingClick_ = nullptr;
    pause_ = kMapPause;  // the other player first sees the turn change
}

// A ship lost in the last tick is forgotten before this tick's commands
// could buy one, which the heap may put in its place: the new ship must not
// pass for one already played.
void ComputerPlayer::forgetLostShips() {
    const Model* model = Model::getSelf();
    if (played_.empty() || model->players == nullptr) {
        return;
    }
    const Player* player = model->players[side];
    const Ship* const* begin = player->ships;
    const Ship* const* end = begin + player->shipCount;
    const auto lost = [&](const Ship* ship) { return std::find(begin, end, ship) == end; };
    played_.erase(std::remove_if(played_.begin(), played_.end(), lost), played_.end());
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
    pause_ = std::max(kMapPause, lag);
    ++actions;
    if (pendingClick_ != nullptr) {
        click(pendingClick_);
        pendingClick_ = nullptr;
        return;
    }
    Player* player = model->players[side];
    const MapTactics tactics(side);
    if (tactics.shouldBuy()) {
        emit(CommandKind::BuyShip);
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
    emit(CommandKind::EndTurn);
}

void ComputerPlayer::actInBattle() {
    Model* model = Model::getSelf();
    Battle* battle = model->battle;
    if (battle == nullptr) {
        return;
    }
    const Ship* ship = battle->shipOf(model->players[side]);
    const BattleAction action = BattleTactics(*battle, *ship).next();
    Command command;
    switch (action.kind) {
        case BattleAction::Kind::Wait:
            return;
        case BattleAction::Kind::CursorLeft:
        case BattleAction::Kind::CursorRight:
            command.kind = CommandKind::MoveCursor;
            command.move = action.kind == BattleAction::Kind::CursorLeft ? CursorMove::Left
                                                                         : CursorMove::Right;
            break;
        case BattleAction::Kind::Deploy:
            command.kind = CommandKind::SendUnit;
            command.unitKind = action.unitKind;
            break;
    }
    emit(command);
    pause_ = std::max(kBattlePause, lag);
    ++actions;
}

// Clicks on the node's cell. The pointer and cursor are aimed there too, as a
// person's would be, so that the cursor shows where the program plays.
void ComputerPlayer::click(const Node* node) {
    Model* model = Model::getSelf();
    if (model->selector != nullptr) {
        model->selector->aimAt(node->gridX, node->gridZ);
    }
    Command command;
    command.kind = CommandKind::ClickCell;
    command.cellZ = node->gridZ;
    command.cellX = node->gridX;
    emit(command);
}
