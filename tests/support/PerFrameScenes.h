#pragma once
// The four screens set up as a player would see them in the middle of a game,
// for the frame-cost benchmark and the per-frame resource test: both run
// onDisplay() over and over on one screen and must be drawing the same thing.
// Header only, so that the benchmark, which links the fixtures but not the
// test support, can use it.
// Call buildWorld() with a GL context current, then one show...() per screen.
#include <GL/gl.h>

#include <cstdlib>

#include "battle/Battle.h"
#include "battle/Lane.h"
#include "battle/Unit.h"
#include "game/Model.h"
#include "game/Node.h"
#include "game/Player.h"
#include "game/Ship.h"
#include "support/CellPointer.h"
#include "support/World.h"

namespace perframe {

constexpr int kPlayers = 2;
constexpr int kShipsPerPlayer = 3;
constexpr int kUnitsPerSide = 40;
constexpr int kContactPosition = 4950;  // both fronts in the middle, within every unit's reach

// The game's world, grown from a fixed seed so that every run draws the same map.
inline Model* buildWorld(int windowWidth, int windowHeight, unsigned seed = 7) {
    return buildWholeGame(seed, windowWidth, windowHeight);
}

// The state the window starts with; the end screen leaves lighting off for good.
inline void restoreStartState() {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_LIGHTING);
    glShadeModel(GL_FLAT);
}

inline void showTitle() {
    Model* model = Model::getSelf();
    model->screen = TitleScreen;
    model->pointerX = 0.3f;
    model->pointerY = -0.2f;
}

// The free node nearest the grid origin, so that pointing at it keeps the
// pointer within the window and the camera sway small.
inline Node* freeNodeNearOrigin(const Model* model) {
    Node* best = nullptr;
    for (int i = 0; i < model->nodeCount; ++i) {
        Node* node = model->nodes[i];
        if (node->ship != nullptr) {
            continue;
        }
        const int reach = std::abs(node->gridX) + std::abs(node->gridZ);
        if (best == nullptr || reach < std::abs(best->gridX) + std::abs(best->gridZ)) {
            best = node;
        }
    }
    return best;
}

// A free node from the given index on, or null.
inline Node* freeNodeFrom(const Model* model, int first) {
    for (int i = first; i < model->nodeCount; ++i) {
        if (model->nodes[i]->ship == nullptr) {
            return model->nodes[i];
        }
    }
    return nullptr;
}

// Mid-game map: the nodes shared out between the players, three ships each with
// some stock, one ship selected with the move arrow drawn to the cursor, and the
// cursor over a ship that has moved and still has a destination, so that its
// path arrow is drawn too.
inline void showMapInPlay() {
    Model* model = Model::getSelf();
    model->screen = MapScreen;
    for (int i = kPlayers; i < model->nodeCount; i += 2) {
        model->players[(i / 2) % kPlayers]->gainNode(model->nodes[i]);
    }
    Player* first = model->players[0];
    Player* second = model->players[1];
    Node* hovered = freeNodeNearOrigin(model);
    first->gainNode(hovered);
    first->buyShip(hovered);
    for (int p = 0; p < kPlayers; ++p) {
        Player* player = model->players[p];
        for (int from = 10 + 15 * p; player->shipCount < kShipsPerPlayer; from += 3) {
            Node* node = freeNodeFrom(model, from);
            if (node == nullptr) {
                break;
            }
            player->gainNode(node);
            player->buyShip(node);
        }
        for (int s = 0; s < player->shipCount; ++s) {
            for (int kind = 0; kind < kUnitKinds; ++kind) {
                player->ships[s]->unitStock[kind] = (s + kind * 3) % (kStockCap + 1);
            }
        }
    }
    Ship* selected = first->ships[2];
    selected->location->setSelected(true);
    model->selectedShip = selected;

    Ship* underCursor = first->ships[1];
    underCursor->moved = true;
    underCursor->setDestination(second->homeNode);
    aimPointerAt(model, underCursor->location->gridX, underCursor->location->gridZ);
}

// Every unit in reach of the enemy front, so that each frame strikes.
inline void closeRanks(Battle* battle) {
    for (Lane* lane : battle->lanes) {
        for (int i = 0; i < lane->attackerCount; ++i) {
            lane->attackerUnits[i]->position = kContactPosition;
        }
        for (int i = 0; i < lane->defenderCount; ++i) {
            lane->defenderUnits[i]->position = kContactPosition;
        }
        lane->attackerFront = lane->attackerCount > 0 ? kContactPosition : 0;
        lane->defenderFront = lane->defenderCount > 0 ? kContactPosition : 0;
    }
}

// A battle between the players' first ships, each with a full stock sent out
// evenly: eight units per side in every lane, all at their base ends.
inline Battle* startFullBattle() {
    Model* model = Model::getSelf();
    Ship* attacker = model->players[0]->ships[0];
    Ship* defender = model->players[1]->ships[0];
    for (int kind = 0; kind < kUnitKinds; ++kind) {
        attacker->unitStock[kind] = kStockCap;
        defender->unitStock[kind] = kStockCap;
    }
    model->startBattle(attacker, defender);
    Battle* battle = model->battle;
    // The attacking cursor sweeps right from lane 0, the defending one left from 4.
    for (int lane = 0; lane < kLaneCount; ++lane) {
        for (int i = 0; i < kUnitsPerSide / kLaneCount; ++i) {
            battle->deploy(attacker, i % kUnitKinds);
            battle->deploy(defender, (i + 1) % kUnitKinds);
        }
        battle->moveCursor(CursorMove::Right, true);
        battle->moveCursor(CursorMove::Left, false);
    }
    return battle;
}

// The full battle with every unit already in the fight.
inline Battle* showBattle() {
    Battle* battle = startFullBattle();
    closeRanks(battle);
    return battle;
}

// Heals both ships and every unit, so that the fight goes on without a unit
// falling or a ship being destroyed; call it after every frame.
inline void keepBattleAlive() {
    Battle* battle = Model::getSelf()->battle;
    if (battle == nullptr) {
        return;
    }
    battle->attacker->health = kFullHealth;
    battle->defender->health = kFullHealth;
    for (Lane* lane : battle->lanes) {
        for (int i = 0; i < lane->attackerCount; ++i) {
            lane->attackerUnits[i]->health = lane->attackerUnits[i]->maxHealth;
        }
        for (int i = 0; i < lane->defenderCount; ++i) {
            lane->defenderUnits[i]->health = lane->defenderUnits[i]->maxHealth;
        }
    }
}

inline void showEnd() {
    Model* model = Model::getSelf();
    delete model->battle;  // a battle exists only on the battle screen
    model->battle = nullptr;
    model->screen = EndScreen;
    model->loser = 1;
}

}  // namespace perframe
