#include "support/Tournament.h"

#include <GL/freeglut.h>

#include <chrono>
#include <memory>
#include <random>

#include "ai/ComputerPlayer.h"
#include "app/Input.h"
#include "battle/Battle.h"
#include "game/Model.h"
#include "game/Node.h"
#include "game/Player.h"
#include "game/Ship.h"
#include "game/TurnCycle.h"
#include "render/Selector.h"
#include "support/GuidedHands.h"
#include "support/World.h"

namespace {

constexpr long kFrameCap = 20000000;  // a game that has not ended by then is not finished
constexpr int kRandomPause = 8;       // frames between the random player's battle keys

// Random legal play for one side, through the callbacks: on its turn, each
// frame an order of a random unmoved ship to a random neighbour (an attack
// where an enemy ship stands), a purchase or the end of the turn; in a battle
// one of its six keys every few frames.
class RandomPlayer {
public:
    RandomPlayer(std::uint32_t seed, int playedSide) : dice(seed), side(playedSide) {}

    void act(Model* model) {
        if (model->screen == MapScreen && model->currentPlayer == side) {
            actOnMap(model);
        } else if (model->screen == BattleScreen && --pause <= 0) {
            static constexpr char kKeys[kPlayerCount][7] = {"weasdf", "iojkl;"};
            onKeyboard(static_cast<unsigned char>(kKeys[side][below(6)]), 0, 0);
            pause = kRandomPause;
        }
    }

private:
    int below(int n) { return static_cast<int>(dice() % static_cast<unsigned>(n)); }

    void actOnMap(Model* model) {
        const Player* player = model->players[side];
        const int roll = below(10);
        if (roll == 0 || player->shipCount == 0) {
            onKeyboard(endTurnKey(model), 0, 0);
        } else if (roll == 1) {
            onKeyboard(' ', 0, 0);
        } else {
            const Ship* ship = player->ships[below(player->shipCount)];
            const Node* next = ship->location->neighbors[below(kSlotCount)];
            if (!ship->moved && next != nullptr) {
                click(model, ship->location);
                click(model, next);
            }
        }
    }

    static void click(Model* model, const Node* node) {
        model->selector->aimAt(node->gridX, node->gridZ);
        onMouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 0, 0);
    }

    std::mt19937 dice;
    int side;
    int pause = 0;
};

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

class Match {
public:
    Match(std::uint32_t seed, int computerSide, Opponent opponent)
        : model(buildWorld(seed)), side(computerSide), kind(opponent) {
        model->screen = MapScreen;
        const int other = (side + 1) % kPlayerCount;
        model->computers[side] = new ComputerPlayer(side);
        if (kind == Opponent::Computer) {
            model->computers[other] = new ComputerPlayer(other);
        } else if (kind == Opponent::Random) {
            random = std::make_unique<RandomPlayer>(seed, other);
        } else {
            hands = std::make_unique<GuidedHands>(seed, other);
        }
    }

    MatchResult play(int turnCap) {
        for (long frame = 0; frame < kFrameCap && result.turns < turnCap; ++frame) {
            opponentMoves();
            computersMove();
            stepRules();
            if (model->screen == EndScreen) {
                result.finished = true;
                result.computerWon = model->loser != side;
                break;
            }
        }
        Model::resetSelf();
        return result;
    }

private:
    void opponentMoves() {
        if (random) {
            random->act(model);
            return;
        }
        if (hands) {
            for (Event event = hands->next(model); event.kind != EventKind::Frame;
                 event = hands->next(model)) {
                deliverInput(event);
            }
        }
    }

    // The computer player of the measured side is timed on its own.
    void computersMove() {
        for (ComputerPlayer* computer : model->computers) {
            if (computer == nullptr) {
                continue;
            }
            const bool inBattle = model->screen == BattleScreen;
            const long actionsBefore = computer->actions;
            const auto start = std::chrono::steady_clock::now();
            computer->act();
            const double seconds = secondsSince(start);
            if (computer->side != side) {
                continue;
            }
            if (inBattle) {
                result.battleStepSeconds.push_back(seconds);
            } else if (computer->actions != actionsBefore) {
                result.mapActionSeconds.push_back(seconds);
            }
        }
    }

    // What a displayed frame does to the game, short of drawing it.
    void stepRules() {
        if (model->screen == MapScreen) {
            model->selector->updateCursor(model->pointerX, model->pointerY);
            if (model->endTurnRequested) {
                finishTurn();
                ++result.turns;
            }
        } else if (model->screen == BattleScreen) {
            result.battles += lastScreen != BattleScreen ? 1 : 0;
            model->battle->update();
        }
        lastScreen = model->screen;
        model->advanceClock();
    }

    Model* model;
    int side;
    Opponent kind;
    std::unique_ptr<RandomPlayer> random;
    std::unique_ptr<GuidedHands> hands;
    int lastScreen = MapScreen;
    MatchResult result;
};

}  // namespace

MatchResult playMatch(std::uint32_t seed, int computerSide, Opponent opponent, int turnCap) {
    return Match(seed, computerSide, opponent).play(turnCap);
}
