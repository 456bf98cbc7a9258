#include "support/GuidedHands.h"

#include <GL/freeglut.h>

#include <climits>
#include <sstream>
#include <tuple>
#include <utility>

#include "app/Input.h"
#include "battle/Battle.h"
#include "battle/Lane.h"
#include "game/Model.h"
#include "game/Node.h"
#include "game/Player.h"
#include "game/Ship.h"
#include "support/CellPointer.h"
#include "support/World.h"

namespace {

constexpr unsigned char kEscape = 27;  // ends the process; never thrown

Event motion(int x, int y) {
    return {EventKind::Motion, x, y};
}
Event leftPress() {
    return {EventKind::Mouse, GLUT_LEFT_BUTTON, GLUT_DOWN};
}
Event leftRelease() {
    return {EventKind::Mouse, GLUT_LEFT_BUTTON, GLUT_UP};
}
Event key(unsigned char code) {
    return {EventKind::Key, code};
}
Event frame() {
    return {EventKind::Frame};
}

}  // namespace

std::string describe(const Event& event) {
    std::ostringstream text;
    switch (event.kind) {
        case EventKind::Motion:
            text << "onPassiveMotion(" << event.a << ", " << event.b << ")";
            break;
        case EventKind::Mouse:
            text << "onMouse(" << event.a << ", " << event.b << ", " << event.c << ", " << event.d
                 << ")";
            break;
        case EventKind::Key:
            text << "onKeyboard(" << event.a << ", " << event.c << ", " << event.d << ")";
            break;
        case EventKind::Special:
            text << "onSpecialKey(" << event.a << ", " << event.c << ", " << event.d << ")";
            break;
        case EventKind::Frame:
            text << "onDisplay()";
            break;
    }
    return text.str();
}

void deliverInput(const Event& event) {
    switch (event.kind) {
        case EventKind::Motion:
            onPassiveMotion(event.a, event.b);
            break;
        case EventKind::Mouse:
            onMouse(event.a, event.b, event.c, event.d);
            break;
        case EventKind::Key:
            onKeyboard(static_cast<unsigned char>(event.a), event.c, event.d);
            break;
        case EventKind::Special:
            onSpecialKey(event.a, event.c, event.d);
            break;
        case EventKind::Frame:
            break;
    }
}

GuidedHands::GuidedHands(std::uint32_t seed, int eagerPlayer) : dice(seed) {
    static constexpr int kAggressor = 70;
    static constexpr int kOpponent[] = {10, 10, 10, 35, 70};
    const int drawn = below(2);
    const int aggressor = eagerPlayer == 0 || eagerPlayer == 1 ? eagerPlayer : drawn;
    eagerness[aggressor] = kAggressor;
    eagerness[1 - aggressor] = kOpponent[below(5)];
}

Event GuidedHands::next(const Model* model) {
    if (planned.empty()) {
        plan(model);
    }
    const Event event = planned.front();
    planned.pop_front();
    return event;
}

Event GuidedHands::anyEvent(const Model* model) {
    const int x = anyPixel(model->windowWidth);
    const int y = anyPixel(model->windowHeight);
    switch (below(5)) {
        case 0:
            return motion(x, y);
        case 1:
            // Buttons 3 and 4 are the wheel; states other than up and down never come.
            return {EventKind::Mouse, below(5), below(2), x, y};
        case 2: {
            const int code = below(255);
            return {EventKind::Key, code >= kEscape ? code + 1 : code, 0, x, y};
        }
        case 3:
            return {EventKind::Special, below(4) == 0 ? below(1 << 16) : below(128), 0, x, y};
        default:
            return frame();
    }
}

int GuidedHands::anyPixel(int extent) {
    static constexpr int kFarOff[] = {INT_MIN, -1000000, -1, 1000000, INT_MAX};
    if (below(50) == 0) {
        return kFarOff[below(5)];
    }
    return below(extent + 81) - 40;
}

void GuidedHands::plan(const Model* model) {
    switch (model->screen) {
        case MapScreen:
            planMap(model);
            break;
        case BattleScreen:
            planBattle(model);
            break;
        default:
            // The title screen and the end screen: anything, with frames.
            planned.push_back(below(3) == 0 ? frame() : anyEvent(model));
            break;
    }
}

void GuidedHands::planMap(const Model* model) {
    const int player = model->currentPlayer;
    const int orders = eagerness[player] / 2;
    const int roll = below(100);
    if (roll < orders) {
        planOrder(model);
    } else if (roll < orders + 15) {
        planned.push_back(key(endTurnKey(model)));
        planned.push_back(frame());
    } else if (roll < orders + 21) {
        planned.push_back(key(' '));
    } else if (roll < 75) {
        planned.push_back(below(2) == 0 ? frame() : leftPress());
    } else if (roll < 85) {
        aimAt(model, pickTarget(model, ownShip(model)));
    } else {
        planned.push_back(anyEvent(model));
    }
}

void GuidedHands::planOrder(const Model* model) {
    const Ship* attacker = nullptr;
    const Node* target = nullptr;
    if (below(3) != 0 && findAttack(model, attacker, target)) {
        aimAt(model, attacker->location);
        clickAfterFrame();
        aimAt(model, target);
        clickAfterFrame();
        return;
    }
    const Ship* ship = shipWithoutOrder(model);
    if (ship != nullptr) {
        aimAt(model, ship->location);
        clickAfterFrame();
    }
    aimAt(model, pickTarget(model, ship));
    clickAfterFrame();
}

bool GuidedHands::findAttack(const Model* model, const Ship*& attacker, const Node*& target) {
    const Player* player = model->players[model->currentPlayer];
    std::vector<std::pair<const Ship*, const Node*>> all;
    std::vector<std::pair<const Ship*, const Node*>> weak;
    for (int s = 0; s < player->shipCount; ++s) {
        const Ship* ship = player->ships[s];
        if (ship->moved) {
            continue;
        }
        for (const Node* next : neighboursOf(ship->location)) {
            if (next->ship == nullptr || next->ship->owner == player) {
                continue;
            }
            all.emplace_back(ship, next);
            if (next->ship->totalStock() == 0) {
                weak.emplace_back(ship, next);
            }
        }
    }
    const auto& pairs = !weak.empty() && below(5) != 0 ? weak : all;
    if (pairs.empty()) {
        return false;
    }
    std::tie(attacker, target) = pairs[below(static_cast<int>(pairs.size()))];
    return true;
}

std::vector<const Node*> GuidedHands::neighboursOf(const Node* node) {
    std::vector<const Node*> beside;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (node->neighbors[slot] != nullptr) {
            beside.push_back(node->neighbors[slot]);
        }
    }
    return beside;
}

void GuidedHands::clickAfterFrame() {
    planned.push_back(frame());
    planned.push_back(leftPress());
    if (below(2) == 0) {
        planned.push_back(leftRelease());
    }
    // The click takes effect in the next tick; the hands see it before they
    // plan again, as a player sees it drawn.
    planned.push_back(frame());
}

void GuidedHands::aimAt(const Model* model, const Node* node) {
    if (node == nullptr) {
        planned.push_back(motion(anyPixel(model->windowWidth), anyPixel(model->windowHeight)));
        return;
    }
    const WindowPixel pixel = pixelOnNode(model, node);
    planned.push_back(motion(pixel.x, pixel.y));
}

const Ship* GuidedHands::ownShip(const Model* model) {
    const Player* player = model->players[model->currentPlayer];
    return player->shipCount == 0 ? nullptr : player->ships[below(player->shipCount)];
}

const Ship* GuidedHands::shipWithoutOrder(const Model* model) {
    const Player* player = model->players[model->currentPlayer];
    std::vector<const Ship*> free;
    for (int s = 0; s < player->shipCount; ++s) {
        if (!player->ships[s]->moved && player->ships[s]->destination == nullptr) {
            free.push_back(player->ships[s]);
        }
    }
    if (free.empty() || below(5) == 0) {
        return ownShip(model);
    }
    return free[below(static_cast<int>(free.size()))];
}

const Node* GuidedHands::pickTarget(const Model* model, const Ship* ship) {
    const int roll = below(100);
    if (roll < 15 && ship != nullptr) {
        return beside(ship->location);
    }
    if (roll < 35) {
        return nearEnemyShip(model);
    }
    if (roll < 80) {
        return notYetHeld(model);
    }
    if (roll < 95) {
        return model->nodes[below(model->nodeCount)];
    }
    return nullptr;
}

const Node* GuidedHands::beside(const Node* node) {
    const std::vector<const Node*> next = neighboursOf(node);
    return next.empty() ? node : next[below(static_cast<int>(next.size()))];
}

const Node* GuidedHands::nearEnemyShip(const Model* model) {
    const Player* enemy = model->players[1 - model->currentPlayer];
    if (enemy->shipCount == 0) {
        return notYetHeld(model);
    }
    const Node* node = enemy->ships[below(enemy->shipCount)]->location;
    const Node* next = node->neighbors[below(kSlotCount)];
    return next != nullptr ? next : node;
}

const Node* GuidedHands::notYetHeld(const Model* model) {
    const Player* player = model->players[model->currentPlayer];
    const Player* enemy = model->players[1 - model->currentPlayer];
    if (enemy->nodeTotal > 0 && below(3) != 0) {
        return enemy->nodes[below(enemy->nodeTotal)];
    }
    std::vector<const Node*> open;
    for (int i = 0; i < model->nodeCount; ++i) {
        if (model->nodes[i]->owner != player) {
            open.push_back(model->nodes[i]);
        }
    }
    return open.empty() ? model->nodes[below(model->nodeCount)]
                        : open[below(static_cast<int>(open.size()))];
}

void GuidedHands::planBattle(const Model* model) {
    static constexpr char kCursorKeys[] = "weio";
    const int roll = below(100);
    if (roll < 75) {
        planned.push_back(frame());
    } else if (roll < 93) {
        planDeploy(model->battle, model->players[0] == model->battle->attacker->owner ? 0 : 1,
                   below(2));
    } else if (roll < 96) {
        planned.push_back(key(kCursorKeys[below(4)]));
    } else {
        planned.push_back(anyEvent(model));
    }
}

void GuidedHands::planDeploy(const Battle* battle, int attackingPlayer, int player) {
    static constexpr char kDeployKeys[2][kUnitKinds + 1] = {"asdf", "jkl;"};
    static constexpr char kCursorKeys[2][3] = {"we", "io"};
    const bool attacking = player == attackingPlayer;
    const Ship* ship = attacking ? battle->attacker : battle->defender;
    const int lane = busiestEnemyLane(battle, attacking);
    if (lane >= 0 && below(3) != 0) {
        for (int at = attacking ? battle->attackerLane : battle->defenderLane; at != lane;
             at += at < lane ? 1 : -1) {
            planned.push_back(key(kCursorKeys[player][at < lane ? 1 : 0]));
        }
    }
    int kind = below(kUnitKinds);
    for (int tries = 0; tries < kUnitKinds && ship->unitStock[kind] == 0 && below(4) != 0;
         ++tries) {
        kind = (kind + 1) % kUnitKinds;
    }
    planned.push_back(key(kDeployKeys[player][kind]));
}

int GuidedHands::busiestEnemyLane(const Battle* battle, bool attacking) {
    int busiest = -1;
    int most = 0;
    for (int i = 0; i < kLaneCount; ++i) {
        const Lane* lane = battle->lanes[i];
        const int count = attacking ? lane->defenderCount : lane->attackerCount;
        if (count > most) {
            most = count;
            busiest = i;
        }
    }
    return busiest;
}
