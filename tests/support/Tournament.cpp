#include "support/Tournament.h"

#include <GL/freeglut.h>

#include <chrono>
#include <memory>
#include <random>

#include "ai/ComputerPlayer.h"
#include "app/Input.h"
#include "battle/Battle.h"
#include "game/CommandSource.h"
#include "game/Model.h"
#include "game/Node.h"
#include "game/Player.h"
#include "game/Ship.h"
#include "game/Tick.h"
#include "render/Selector.h"
#include "support/CellPointer.h"
#include "support/GuidedHands.h"
#include "support/World.h"

namespace {

constexpr long kTickCap = 20000000;  // a game that has not ended by then is not finished
constexpr int kRandomPause = 8;      // ticks between the random player's battle keys

// Random legal play for one side, through the callbacks: on its turn, each
// tick an order of a random unmoved ship to a random neighbour (an attack
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
        aimPointerAt(model, node->gridX, node->gridZ);
        onMouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 0, 0);
    }

    std::mt19937 dice;
    int side;
    int pause = 0;
};

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Stands in for the measured computer player among the Model's sources and
// times what it takes to choose each action.
class TimedSource final : public CommandSource {
public:
    TimedSource(ComputerPlayer* timed, MatchResult& into) : computer(timed), result(into) {}

    void give(std::uint64_t tick, CommandQueue& queue) override {
        const Model* model = Model::getSelf();
        const bool inBattle = model->screen == BattleScreen;
        const long actionsBefore = computer->actions;
        const auto start = std::chrono::steady_clock::now();
        computer->give(tick, queue);
        const double seconds = secondsSince(start);
        if (inBattle) {
            result.battleStepSeconds.push_back(seconds);
        } else if (computer->actions != actionsBefore) {
            result.mapActionSeconds.push_back(seconds);
        }
    }

private:
    ComputerPlayer* computer;
    MatchResult& result;
};

class Match {
public:
    Match(std::uint32_t seed, int computerSide, Opponent opponent)
        : model(buildWorld(seed)), side(computerSide), kind(opponent) {
        model->screen = MapScreen;
        const int other = (side + 1) % kPlayerCount;
        model->addComputer(side);
        if (kind == Opponent::Computer) {
            model->addComputer(other);
        } else if (kind == Opponent::Random) {
            random = std::make_unique<RandomPlayer>(seed, other);
        } else {
            hands = std::make_unique<GuidedHands>(seed, other);
        }
        timed = std::make_unique<TimedSource>(model->computers[side], result);
        for (CommandSource*& source : model->sources) {
            source = source == model->computers[side] ? timed.get() : source;
        }
    }

    MatchResult play(int turnCap) {
        for (long tick = 0; tick < kTickCap && result.turns < turnCap; ++tick) {
            opponentMoves();
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

    // One tick of the game, short of drawing it; the computer players are
    // asked inside, and the opponent's input waits in the queue.
    void stepRules() {
        runTick();
        result.turns = model->turn;
        result.battles += model->screen == BattleScreen && lastScreen != BattleScreen ? 1 : 0;
        lastScreen = model->screen;
    }

    Model* model;
    int side;
    Opponent kind;
    std::unique_ptr<RandomPlayer> random;
    std::unique_ptr<GuidedHands> hands;
    std::unique_ptr<TimedSource> timed;
    Screen lastScreen = MapScreen;
    MatchResult result;
};

}  // namespace

MatchResult playMatch(std::uint32_t seed, int computerSide, Opponent opponent, int turnCap) {
    return Match(seed, computerSide, opponent).play(turnCap);
}
