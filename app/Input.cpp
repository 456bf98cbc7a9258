#include "app/Input.h"

#include <GL/glut.h>

#include <cstdlib>

#include "battle/Battle.h"
#include "game/Model.h"
#include "game/NodeMap.h"
#include "game/Player.h"
#include "game/Ship.h"

namespace {

constexpr unsigned char kEscape = 27;

void handleMapKey(unsigned char key) {
    Model* model = Model::getSelf();
    // The program's turn is the program's: a person's keys wait for their own.
    if (model->isComputer(model->currentPlayer)) {
        return;
    }
    if (key == ' ') {
        model->players[model->currentPlayer]->buyShipAtHome();
    } else if ((key == 'q' && model->currentPlayer == 0) ||
               (key == 'p' && model->currentPlayer == 1)) {
        model->endTurnRequested = true;
    }
}

struct BattleKeys {
    unsigned char left, right;
    unsigned char deploy[kUnitKinds];
};

constexpr BattleKeys kBattleKeys[kPlayerCount] = {
    {'w', 'e', {'a', 's', 'd', 'f'}},
    {'i', 'o', {'j', 'k', 'l', ';'}},
};

void handleBattleKey(unsigned char key) {
    const Model* model = Model::getSelf();
    Battle* battle = model->battle;
    for (int k = 0; k < kPlayerCount; ++k) {
        if (model->isComputer(k)) {
            continue;
        }
        const BattleKeys& keys = kBattleKeys[k];
        Ship* ship = battle->shipOf(model->players[k]);
        if (key == keys.left || key == keys.right) {
            battle->moveCursor(key == keys.left ? 0 : 1, ship == battle->attacker);
            return;
        }
        for (int kind = 0; kind < kUnitKinds; ++kind) {
            if (key == keys.deploy[kind]) {
                battle->deploy(ship, kind);
                return;
            }
        }
    }
}

}  // namespace

void onPassiveMotion(int x, int y) {
    Model* model = Model::getSelf();
    model->pointerX = static_cast<float>(1.0 - 2.0 * x / model->windowWidth);
    model->pointerY = static_cast<float>(2.0 * y / model->windowHeight - 1.0);
}

void onMouse(int button, int state, int, int) {
    Model* model = Model::getSelf();
    if (model->screen == MapScreen && button == GLUT_LEFT_BUTTON && state == GLUT_DOWN &&
        !model->isComputer(model->currentPlayer)) {
        model->nodeMap->handleClick();
    }
}

void onKeyboard(unsigned char key, int, int) {
    Model* model = Model::getSelf();
    switch (model->screen) {
        case TitleScreen:
            model->screen = MapScreen;
            break;
        case MapScreen:
            handleMapKey(key);
            break;
        case BattleScreen:
            if (model->battle != nullptr) {
                handleBattleKey(key);
            }
            break;
        default:
            break;
    }
    if (key == kEscape) {
        std::exit(0);
    }
}

void onSpecialKey(int, int, int) {}
