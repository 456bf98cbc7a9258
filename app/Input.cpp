#include "app/Input.h"

#include <GL/glut.h>

#include <cstdlib>

#include "app/Keys.h"
#include "app/Screens.h"
#include "game/Command.h"
#include "game/CommandSink.h"
#include "game/Model.h"
#include "render/Selector.h"
#include "sound/TickSounds.h"

namespace {

// Only the sides a person plays at this keyboard take its keys and clicks.
bool personPlays(const Model* model, int side) {
    return model->isPerson(side);
}

// Stamped for the next tick to run, which applies it before the rules step;
// a network game sends it on first, and stamps it later.
void give(Model* model, Command command) {
    command.tick = model->tick;
    if (model->inputSink != nullptr) {
        model->inputSink->submit(command);
    } else {
        model->commands.push(command);
    }
}

void give(Model* model, CommandKind kind, int side) {
    Command command;
    command.kind = kind;
    command.side = side;
    give(model, command);
}

// Any key starts the game, even one the program plays alone; at either
// machine of a network game, for both.
void handleTitleKey(Model* model) {
    const int network = model->networkSide();
    const int side = network >= 0 ? network : personPlays(model, 0) ? 0 : 1;
    give(model, CommandKind::LeaveTitle, side);
}

// Whether the turn is the other player's is for the rules to say.
// Nobody shares the keyboard of a network game, so either end-turn key is
// its player's.
void handleMapKey(Model* model, unsigned char key) {
    const int onTurn = model->currentPlayer;
    if (key == kBuyShipKey && personPlays(model, onTurn)) {
        give(model, CommandKind::BuyShip, onTurn);
        return;
    }
    const int network = model->networkSide();
    if (network >= 0 && network != onTurn) {
        return;  // only the player on turn gives commands on the map
    }
    for (int side = 0; side < kPlayerCount; ++side) {
        const int giver = network >= 0 ? network : side;
        if (key == kPlayerKeys[side].endTurn && personPlays(model, giver)) {
            give(model, CommandKind::EndTurn, giver);
            return;
        }
    }
}

// The command a battle key gives for its side; false when the key is not one
// of that side's.
bool battleCommand(const PlayerKeys& keys, unsigned char key, Command& command) {
    if (key == keys.cursorLeft || key == keys.cursorRight) {
        command.kind = CommandKind::MoveCursor;
        command.move = key == keys.cursorLeft ? CursorMove::Left : CursorMove::Right;
        return true;
    }
    for (int kind = 0; kind < kUnitKinds; ++kind) {
        if (key == keys.sendUnit[kind]) {
            command.kind = CommandKind::SendUnit;
            command.unitKind = kind;
            return true;
        }
    }
    return false;
}

// A record being shown takes only the keys that steer the showing.
void handleReplayKey(Model* model, unsigned char key) {
    Pace& pace = model->pace;
    if (key == kPauseReplayKey) {
        pace.paused = !pace.paused;
    } else if (key == kFastReplayKey) {
        pace.speed = pace.speed == 1 ? kFastReplaySpeed : 1;
    }
}

// Either hand's keys steer the one ship of a network game's player.
void handleBattleKey(Model* model, unsigned char key) {
    const int network = model->networkSide();
    for (int side = 0; side < kPlayerCount; ++side) {
        Command command;
        command.side = network >= 0 ? network : side;
        if (personPlays(model, command.side) && battleCommand(kPlayerKeys[side], key, command)) {
            give(model, command);
            return;
        }
    }
}

void handleGameKey(Model* model, unsigned char key) {
    switch (model->screen) {
        case TitleScreen:
            handleTitleKey(model);
            break;
        case MapScreen:
            handleMapKey(model, key);
            break;
        case BattleScreen:
            handleBattleKey(model, key);
            break;
        default:
            break;
    }
}

}  // namespace

void onPassiveMotion(int x, int y) {
    Model* model = Model::getSelf();
    model->pointerX = static_cast<float>(1.0 - 2.0 * x / model->windowWidth);
    model->pointerY = static_cast<float>(2.0 * y / model->windowHeight - 1.0);
}

// The click is on the cell the cursor shows for the pointer at this moment,
// and it carries that cell, so that it means the same wherever it is applied.
void onMouse(int button, int state, int, int) {
    Model* model = Model::getSelf();
    const int onTurn = model->currentPlayer;
    if (model->screen != MapScreen || button != GLUT_LEFT_BUTTON || state != GLUT_DOWN ||
        model->selector == nullptr || !personPlays(model, onTurn)) {
        return;
    }
    Selector* selector = model->selector;
    selector->updateCursor(model->pointerX, model->pointerY);
    Command command;
    command.kind = CommandKind::ClickCell;
    command.side = onTurn;
    command.cellZ = selector->gridZ;
    command.cellX = selector->gridX;
    give(model, command);
}

void onKeyboard(unsigned char key, int, int) {
    Model* model = Model::getSelf();
    if (model->pace.replay) {
        handleReplayKey(model, key);
    } else {
        handleGameKey(model, key);
    }
    // Heard, not played: it is no command, so a record of the game leaves it out.
    if (key == kSoundKey && model->screen != TitleScreen) {
        gameSounds().sound.toggleMuted();
    }
    if (key == kEscapeKey) {
        std::exit(0);
    }
}

void onSpecialKey(int, int, int) {}
