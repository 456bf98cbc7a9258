#include "game/Command.h"

#include <cstdlib>

#include "battle/Battle.h"
#include "game/Invariant.h"
#include "game/Model.h"
#include "game/NodeMap.h"
#include "game/Player.h"
#include "game/Ship.h"

namespace {

// No pointer reaches a cell this far from the origin: such a click can only
// come from a damaged or forged source.
constexpr int kFarthestCell = 1000000;

bool onTurn(const Model* model, const Command& command) {
    return model->screen == MapScreen && command.side == model->currentPlayer;
}

bool isCell(int cellZ, int cellX) {
    const bool near = std::abs(cellZ) <= kFarthestCell && std::abs(cellX) <= kFarthestCell;
    return near && (cellZ + cellX) % 2 == 0;
}

bool canBuy(const Model* model, const Command& command) {
    const Player* player = model->players[command.side];
    return onTurn(model, command) && player->credits >= kShipPrice && player->homeNode != nullptr &&
           player->homeNode->ship == nullptr;
}

// The ship the side fights with, when a battle is on.
Ship* fightingShip(const Model* model, const Command& command) {
    if (model->screen != BattleScreen || model->battle == nullptr) {
        return nullptr;
    }
    return model->battle->shipOf(model->players[command.side]);
}

bool canSend(const Model* model, const Command& command) {
    const Ship* ship = fightingShip(model, command);
    const bool kindExists = command.unitKind >= 0 && command.unitKind < kUnitKinds;
    return ship != nullptr && kindExists && ship->unitStock[command.unitKind] > 0;
}

bool acceptable(const Model* model, const Command& command) {
    // The decoders of records and network messages refuse an unknown kind.
    KARVOSSA_ASSERT(static_cast<int>(command.kind) < kCommandKinds, "a command of no known kind");
    if (command.side < 0 || command.side >= model->playerCount || model->players == nullptr) {
        return false;
    }
    switch (command.kind) {
        case CommandKind::LeaveTitle:
            return model->screen == TitleScreen;
        case CommandKind::ClickCell:
            return onTurn(model, command) && model->nodeMap != nullptr &&
                   isCell(command.cellZ, command.cellX);
        case CommandKind::BuyShip:
            return canBuy(model, command);
        case CommandKind::EndTurn:
            return onTurn(model, command) && !model->endTurnRequested;
        case CommandKind::MoveCursor:
            return fightingShip(model, command) != nullptr &&
                   (command.move == CursorMove::Left || command.move == CursorMove::Right);
        case CommandKind::SendUnit:
            return canSend(model, command);
    }
    return false;
}

void carryOut(Model* model, const Command& command) {
    switch (command.kind) {
        case CommandKind::LeaveTitle:
            model->screen = MapScreen;
            break;
        case CommandKind::ClickCell:
            model->nodeMap->handleClick(command.cellZ, command.cellX);
            break;
        case CommandKind::BuyShip:
            model->players[command.side]->buyShipAtHome();
            break;
        case CommandKind::EndTurn:
            model->endTurnRequested = true;
            break;
        case CommandKind::MoveCursor: {
            Battle* battle = model->battle;
            battle->moveCursor(command.move, fightingShip(model, command) == battle->attacker);
            break;
        }
        case CommandKind::SendUnit:
            model->battle->deploy(fightingShip(model, command), command.unitKind);
            break;
    }
}

}  // namespace

bool applyCommand(const Command& command) {
    Model* model = Model::getSelf();
    const bool accepted = acceptable(model, command);
    model->report.addCommand(command, accepted);
    if (accepted) {
        carryOut(model, command);
    }
    return accepted;
}
