// A short game for memcheck, played through the game's own callbacks in a small
// window opened the way the game opens its own: the title, a few turns on the
// map, an attack and its battle fought to the end, and the end screen. Then the
// whole game is torn down, so that anything the game lost hold of, or forgot to
// destroy with its owner, shows as a definite leak.
//
// Exits 0 when every step of the script happened, 2 naming the step that did
// not; memcheck turns an error of its own into status 1.
#include <GL/freeglut.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "app/Input.h"
#include "app/Screens.h"
#include "app/Window.h"
#include "battle/Battle.h"
#include "game/Model.h"
#include "game/Node.h"
#include "game/Player.h"
#include "game/Ship.h"
#include "game/Tick.h"
#include "support/CellPointer.h"
#include "support/World.h"

namespace {

constexpr int kWindowWidth = 320;
constexpr int kWindowHeight = 240;
// A map whose homes are a few nodes apart, so that the ships meet after a
// handful of turns.
constexpr std::uint32_t kSeed = 165;
constexpr int kTurnLimit = 40;
// Units each ship gathers before the attack, enough for units to fall in one
// lane while another lane wears a ship down.
constexpr int kStockToAttack = 4;
// A battle takes thousands of steps; drawing each one would take far too long
// under memcheck, so only every this many steps is a whole frame.
constexpr int kStepsPerFrame = 250;
constexpr int kBattleStepLimit = 50000;

[[noreturn]] void fail(const char* step) {
    std::fprintf(stderr, "scripted session: %s\n", step);
    std::exit(2);
}

// One tick and its frame, whatever the wall clock says: memcheck is slow.
void frame() {
    playFrame(1);
}

void press(unsigned char key) {
    onKeyboard(key, 0, 0);
}

void pressEach(const char* keys, int times = 1) {
    for (int i = 0; i < times; ++i) {
        for (const char* key = keys; *key != '\0'; ++key) {
            press(static_cast<unsigned char>(*key));
        }
    }
}

// Moves the pointer to where the next map frame puts the selector on the cell,
// lets a frame move it there, then presses and releases the left button.
void clickNode(const Node* node) {
    const Model* model = Model::getSelf();
    const WindowPixel pixel = pixelOnNode(model, node);
    onPassiveMotion(pixel.x, pixel.y);
    frame();
    onMouse(GLUT_LEFT_BUTTON, GLUT_DOWN, pixel.x, pixel.y);
    onMouse(GLUT_LEFT_BUTTON, GLUT_UP, pixel.x, pixel.y);
    frame();
}

void endTurn() {
    press(endTurnKey(Model::getSelf()));
    frame();
}

bool feedsUnits(const Node* node) {
    return node->kind >= 0 && node->kind < kUnitKinds;
}

int cellDistance(const Node* a, const Node* b) {
    return std::abs(a->gridX - b->gridX) + std::abs(a->gridZ - b->gridZ);
}

// The free neighbour of around nearest to towards, preferring nodes that feed
// a ship units; null when every neighbour is taken.
Node* freeNeighbour(const Node* around, const Node* towards) {
    Node* best = nullptr;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        Node* node = around->neighbors[slot];
        if (node == nullptr || node->ship != nullptr) {
            continue;
        }
        if (best == nullptr || feedsUnits(node) > feedsUnits(best) ||
            (feedsUnits(node) == feedsUnits(best) &&
             cellDistance(node, towards) < cellDistance(best, towards))) {
            best = node;
        }
    }
    return best;
}

void playTitle() {
    frame();
    onPassiveMotion(kWindowWidth / 4, kWindowHeight / 3);
    frame();
    press('x');
    frame();
    if (Model::getSelf()->screen != MapScreen) {
        fail("a key did not leave the title screen");
    }
}

// Player 1's ship steps off its home onto a node that feeds it units and waits
// there; player 0's ship is sent to a free node next to it. Turns pass until
// player 0's ship stands beside it, unmoved this turn, and both ships carry
// some stock; then it attacks.
void playUntilAttack() {
    Model* model = Model::getSelf();
    Ship* attacker = model->players[0]->ships[0];
    Ship* defender = model->players[1]->ships[0];
    Node* meeting = freeNeighbour(defender->location, attacker->location);
    Node* approach = meeting == nullptr ? nullptr : freeNeighbour(meeting, attacker->location);
    if (approach == nullptr) {
        fail("no free meeting place between the homes");
    }
    clickNode(attacker->location);
    clickNode(approach);
    if (attacker->location == model->players[0]->homeNode) {
        fail("player 0's ship did not take its first step");
    }
    endTurn();
    clickNode(defender->location);
    clickNode(meeting);
    if (defender->location != meeting) {
        fail("player 1's ship did not step off its home");
    }
    endTurn();

    for (int turn = 0; turn < kTurnLimit; ++turn) {
        if (model->currentPlayer == 0 && !attacker->moved &&
            attacker->location->isNeighbor(meeting) && attacker->totalStock() >= kStockToAttack &&
            defender->totalStock() >= kStockToAttack) {
            clickNode(attacker->location);
            clickNode(meeting);
            if (model->screen != BattleScreen) {
                fail("the attack did not open the battle");
            }
            return;
        }
        endTurn();
    }
    fail("the ships did not meet within the turn limit");
}

// The attacking side sends its whole stock into the middle lane, where the
// defending side meets it with one unit of each kind it has and sends the rest
// into the next lane. The game's own steps then run until a ship is destroyed:
// units fall in the middle lane while the open lane wears a ship down, and the
// battle ends with units still in the lanes. The tick after the deciding step
// carries out the end.
void playBattle() {
    Model* model = Model::getSelf();
    frame();
    pressEach("ee");  // the attacking side's cursor to the middle lane
    pressEach("asdf", kStockCap);
    pressEach("ii");  // the defending side's cursor to the middle lane
    pressEach("jkl;");
    pressEach("i");
    pressEach("jkl;", kStockCap);
    frame();  // whose tick applies the keys in the order pressed
    const int deployed = unitsInLanes(model->battle);
    if (deployed < kStockToAttack * 2) {
        fail("the deploy keys did not send out both stocks");
    }
    int left = deployed;
    for (int step = 1; model->battle != nullptr; ++step) {
        if (step > kBattleStepLimit) {
            fail("the battle was not decided within the step limit");
        }
        left = unitsInLanes(model->battle);
        if (model->battle->battleOver || step % kStepsPerFrame == 1) {
            frame();
        } else {
            runTick();
        }
    }
    if (left == deployed || left == 0) {
        fail("no unit fell, or none was left in the lanes when the battle ended");
    }
    const int shipsLeft = model->players[0]->shipCount + model->players[1]->shipCount;
    if (model->screen != MapScreen || shipsLeft != 1) {
        fail("the battle did not end with one ship fewer on the map");
    }
}

// Every node of player 1 passes to player 0; the next turn end finds player 1
// without nodes.
void playToTheEnd() {
    Model* model = Model::getSelf();
    Player* loser = model->players[1];
    while (loser->nodeTotal > 0) {
        model->players[0]->gainNode(loser->nodes[0]);
    }
    endTurn();
    if (model->screen != EndScreen || model->loser != 1) {
        fail("the turn end did not find the player without nodes");
    }
    frame();
    frame();
}

}  // namespace

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH | GLUT_MULTISAMPLE);
    glutInitWindowSize(kWindowWidth, kWindowHeight);
    const int window = glutCreateWindow("Karvossa!");
    initGlState();
    buildWholeGame(kSeed, kWindowWidth, kWindowHeight);
    onReshape(kWindowWidth, kWindowHeight);

    playTitle();
    playUntilAttack();
    playBattle();
    playToTheEnd();

    Model::resetSelf();
    glutDestroyWindow(window);
    std::printf("scripted session played to the end screen\n");
    return 0;
}
