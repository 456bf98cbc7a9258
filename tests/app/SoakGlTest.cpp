// Whole games played through the game's own callbacks (pointer motion, mouse,
// keys, special keys and displayed frames) in the real GL context, with the
// game's invariants checked after every event. The input is random but guided
// the way two players at the keyboard would play: the pointer goes to the ships
// of the player on turn, to their neighbours and to nodes worth taking, the
// end-turn key comes often, and in battle the deploy keys do; so that games
// reach battles, their ends and the end screen, which the tests count and
// require.
//
// KARVOSSA_SOAK_EVENTS (default 200000) is the number of events, shared out
// over the seed ranges below. A long run of five million events, for example:
//   KARVOSSA_SOAK_EVENTS=5000000 xvfb-run -a -s "-screen 0 1280x1024x24"
//       build-soak/tests/karvossa_gl_tests --gtest_filter='Soak.*'
// (one line).
// A fault names the seed of its game; KARVOSSA_SOAK_SEED=<seed> with the same
// command plays that one game alone, event for event as before.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/Input.h"
#include "app/Screens.h"
#include "battle/Battle.h"
#include "battle/Lane.h"
#include "game/Model.h"
#include "game/Node.h"
#include "game/Player.h"
#include "game/Ship.h"
#include "support/CellPointer.h"
#include "support/Invariants.h"
#include "support/SoakWorld.h"
#include "support/World.h"

namespace {

constexpr long kDefaultEvents = 200000;
constexpr int kSeedRanges = 4;  // one test each, so ctest can run them side by side
constexpr std::uint32_t kRangeStride = 1000000;
constexpr long kGameEventCap = 9000;    // a game that has not ended by then gives way
constexpr int kEventsOnEndScreen = 40;  // input thrown at the end screen before the next game
constexpr int kRecentEvents = 40;       // shown with a fault, to reproduce it by hand
constexpr int kReportedFaults = 5;      // per seed range; later ones add nothing new
constexpr unsigned char kEscape = 27;   // ends the process; tested elsewhere

long eventsFromEnvironment() {
    const char* text = std::getenv("KARVOSSA_SOAK_EVENTS");
    if (text == nullptr || *text == '\0') {
        return kDefaultEvents;
    }
    const long events = std::strtol(text, nullptr, 10);
    return events > 0 ? events : kDefaultEvents;
}

// The seed to replay alone, or 0 for a normal run.
std::uint32_t replaySeed() {
    const char* text = std::getenv("KARVOSSA_SOAK_SEED");
    return text == nullptr ? 0 : static_cast<std::uint32_t>(std::strtoul(text, nullptr, 10));
}

enum class EventKind { Motion, Mouse, Key, Special, Frame };

struct Event {
    EventKind kind;
    int a = 0;  // x, button, key or special key
    int b = 0;  // y or button state
    int c = 0;  // x of mouse and keys
    int d = 0;  // y of mouse
};

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

void apply(const Event& event) {
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
            onDisplay();
            break;
    }
}

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

// The two people at the keyboard and mouse. Each game gives each player an
// eagerness: how often, on its turn, the next thing done is an order rather
// than anything else. An eager player against an idle one ends games sooner.
class Hands {
public:
    explicit Hands(std::uint32_t seed) : dice(seed) {
        // One player presses on; the other is mostly idle, so that most games
        // come to their end within the events they are given.
        static constexpr int kAggressor = 70;
        static constexpr int kOpponent[] = {10, 10, 10, 35, 70};
        const int aggressor = below(2);
        eagerness[aggressor] = kAggressor;
        eagerness[1 - aggressor] = kOpponent[below(5)];
    }

    Event next(const Model* model) {
        if (planned.empty()) {
            plan(model);
        }
        const Event event = planned.front();
        planned.pop_front();
        return event;
    }

    // Anything at all, on any screen.
    Event anyEvent(const Model* model) {
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

private:
    int below(int n) { return static_cast<int>(dice() % static_cast<std::uint32_t>(n)); }

    // Mostly inside the window and a little beyond; now and then far off.
    int anyPixel(int extent) {
        static constexpr int kFarOff[] = {INT_MIN, -1000000, -1, 1000000, INT_MAX};
        if (below(50) == 0) {
            return kFarOff[below(5)];
        }
        return below(extent + 81) - 40;
    }

    void plan(const Model* model) {
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

    void planMap(const Model* model) {
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

    // Select one of the player's ships, then click where it should go: often
    // next door (an attack when an enemy ship stands there), often a node the
    // player does not hold yet, sometimes anywhere, even beside the map.
    void planOrder(const Model* model) {
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

    // One of the player's ships that may attack now, and the enemy's node it
    // may attack. Like a player who wants the battle over soon, it mostly
    // picks an enemy ship with nothing in stock, which wears itself down.
    bool findAttack(const Model* model, const Ship*& attacker, const Node*& target) {
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

    static std::vector<const Node*> neighboursOf(const Node* node) {
        std::vector<const Node*> beside;
        for (int slot = 0; slot < kSlotCount; ++slot) {
            if (node->neighbors[slot] != nullptr) {
                beside.push_back(node->neighbors[slot]);
            }
        }
        return beside;
    }

    // The selector follows the pointer only in a map frame, and the click acts
    // on the selector.
    void clickAfterFrame() {
        planned.push_back(frame());
        planned.push_back(leftPress());
        if (below(2) == 0) {
            planned.push_back(leftRelease());
        }
    }

    void aimAt(const Model* model, const Node* node) {
        if (node == nullptr) {
            planned.push_back(motion(anyPixel(model->windowWidth), anyPixel(model->windowHeight)));
            return;
        }
        const WindowPixel pixel = pixelOnNode(model, node);
        planned.push_back(motion(pixel.x, pixel.y));
    }

    const Ship* ownShip(const Model* model) {
        const Player* player = model->players[model->currentPlayer];
        return player->shipCount == 0 ? nullptr : player->ships[below(player->shipCount)];
    }

    // Mostly a ship that has neither moved nor an order yet, as a player
    // would pick next; any ship of the player otherwise.
    const Ship* shipWithoutOrder(const Model* model) {
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

    // A node to aim at; null stands for a pixel anywhere.
    const Node* pickTarget(const Model* model, const Ship* ship) {
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

    // A neighbour of the node, or the node itself when it has none.
    const Node* beside(const Node* node) {
        const std::vector<const Node*> next = neighboursOf(node);
        return next.empty() ? node : next[below(static_cast<int>(next.size()))];
    }

    // Next to one of the enemy's ships, or on it: where attacks come from.
    const Node* nearEnemyShip(const Model* model) {
        const Player* enemy = model->players[1 - model->currentPlayer];
        if (enemy->shipCount == 0) {
            return notYetHeld(model);
        }
        const Node* node = enemy->ships[below(enemy->shipCount)]->location;
        const Node* next = node->neighbors[below(kSlotCount)];
        return next != nullptr ? next : node;
    }

    // A node of the enemy or of nobody, the enemy's first when it has any.
    const Node* notYetHeld(const Model* model) {
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

    void planBattle(const Model* model) {
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

    // A unit sent by player 0 or 1, mostly of a kind it still has and mostly
    // into the lane where the enemy has most units: a side that has lost every
    // unit and has none left in stock wears itself down fast, which is how
    // battles end soonest.
    void planDeploy(const Battle* battle, int attackingPlayer, int player) {
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

    // The lane with most units of the other side; -1 when it has none out.
    static int busiestEnemyLane(const Battle* battle, bool attacking) {
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

    std::mt19937 dice;
    std::deque<Event> planned;
    int eagerness[2] = {};  // percent
};

struct Tally {
    long events = 0;
    long frames = 0;
    long games = 0;
    long turnEnds = 0;
    long battles = 0;
    long battleEnds = 0;
    long endScreens = 0;
    int faults = 0;
};

// What must not change once the end screen shows: only Escape leaves it.
struct Standings {
    int loser = 0;
    int currentPlayer = 0;
    std::array<int, 2> credits{}, nodeTotal{}, shipCount{};
    const Ship* selectedShip = nullptr;
    const Node* selectedNode = nullptr;
    bool endTurnRequested = false;

    auto fields() const {
        return std::tie(loser, currentPlayer, credits, nodeTotal, shipCount, selectedShip,
                        selectedNode, endTurnRequested);
    }
    bool operator==(const Standings& other) const { return fields() == other.fields(); }
};

Standings standingsOf(const Model* model) {
    Standings standings;
    standings.loser = model->loser;
    standings.currentPlayer = model->currentPlayer;
    for (int p = 0; p < 2; ++p) {
        standings.credits[p] = model->players[p]->credits;
        standings.nodeTotal[p] = model->players[p]->nodeTotal;
        standings.shipCount[p] = model->players[p]->shipCount;
    }
    standings.selectedShip = model->selectedShip;
    standings.selectedNode = model->selectedNode;
    standings.endTurnRequested = model->endTurnRequested;
    return standings;
}

int shipsInGame(const Model* model) {
    return model->players[0]->shipCount + model->players[1]->shipCount;
}

// The screen changes that input and frames may make, one per event.
bool isPlayableChange(int from, int to) {
    return (from == TitleScreen && to == MapScreen) || (from == MapScreen && to == BattleScreen) ||
           (from == BattleScreen && to == MapScreen) || (from == MapScreen && to == EndScreen);
}

class Game {
public:
    Game(std::uint32_t gameSeed, Tally& gameTally)
        : seed(gameSeed), tally(gameTally), model(startSoakGame(gameSeed)), hands(gameSeed) {
        // Should the process die, the last of these names the game to replay.
        std::fprintf(stderr, "soak: seed %u\n", seed);
        ++tally.games;
    }

    // Plays until the end screen has had its share of input or the budget is
    // spent; returns the number of events used.
    long play(long budget) {
        long used = 0;
        int endScreenEvents = 0;
        while (used < budget && endScreenEvents < kEventsOnEndScreen) {
            const Event event = hands.next(model);
            ++used;
            if (!step(event, used)) {
                break;
            }
            if (model->screen == EndScreen) {
                ++endScreenEvents;
            }
        }
        tally.events += used;
        return used;
    }

private:
    bool step(const Event& event, long index) {
        recent.push_back(event);
        if (recent.size() > static_cast<size_t>(kRecentEvents)) {
            recent.pop_front();
        }
        const int screenBefore = model->screen;
        const int playerBefore = model->currentPlayer;
        try {
            apply(event);
        } catch (...) {
            return fault(index, "an exception escaped the callback");
        }
        if (event.kind == EventKind::Frame) {
            ++tally.frames;
        }
        const std::string broken = brokenInvariant(model);
        if (!broken.empty()) {
            return fault(index, broken);
        }
        if (model->currentPlayer != playerBefore) {
            ++tally.turnEnds;
        }
        if (model->screen != screenBefore) {
            return changeScreen(screenBefore, index);
        }
        if (model->screen == EndScreen && !(standingsOf(model) == atEnd)) {
            return fault(index, "the end screen let the game go on");
        }
        return true;
    }

    bool changeScreen(int from, long index) {
        const int to = model->screen;
        if (!isPlayableChange(from, to)) {
            return fault(index, "screen " + std::to_string(from) + " became " + std::to_string(to));
        }
        if (to == BattleScreen) {
            ++tally.battles;
            shipsBeforeBattle = shipsInGame(model);
        } else if (from == BattleScreen) {
            ++tally.battleEnds;
            if (shipsInGame(model) != shipsBeforeBattle - 1) {
                return fault(index, "a battle ended without destroying exactly one ship");
            }
        } else if (to == EndScreen) {
            ++tally.endScreens;
            atEnd = standingsOf(model);
        }
        return true;
    }

    bool fault(long index, const std::string& what) {
        ++tally.faults;
        if (tally.faults > kReportedFaults) {
            return false;
        }
        std::ostringstream text;
        text << "seed " << seed << ", event " << index << ": " << what
             << "\nthe events that led there, oldest first:";
        for (const Event& event : recent) {
            text << "\n  " << describe(event);
        }
        ADD_FAILURE() << text.str();
        return false;
    }

    std::uint32_t seed;
    Tally& tally;
    Model* model;
    Hands hands;
    std::deque<Event> recent;
    int shipsBeforeBattle = 0;
    Standings atEnd{};
};

// Plays the games of one seed range until the range's share of the events is
// used up (or, with KARVOSSA_SOAK_SEED set, that one game if it lies in this
// range), then requires that battles, their ends and the end screen came up.
void soakSeedRange(int range) {
    const std::uint32_t firstSeed = kRangeStride * static_cast<std::uint32_t>(range + 1);
    const std::uint32_t replay = replaySeed();
    if (replay != 0 && replay / kRangeStride != firstSeed / kRangeStride) {
        GTEST_SKIP() << "replaying seed " << replay << ", which another range plays";
    }
    const long budget = replay != 0 ? kGameEventCap : eventsFromEnvironment() / kSeedRanges;
    Tally tally;
    const auto start = std::chrono::steady_clock::now();
    for (std::uint32_t seed = replay != 0 ? replay : firstSeed; tally.events < budget; ++seed) {
        const long left = budget - tally.events;
        Game(seed, tally).play(left < kGameEventCap ? left : kGameEventCap);
        if (replay != 0 || tally.faults > kReportedFaults) {
            break;
        }
    }
    endSoakGames();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf(
        "soak seeds %u..: %ld events (%ld frames) in %.1f s over %ld games: %ld turn ends, "
        "%ld battles, %ld battle ends, %ld end screens\n",
        replay != 0 ? replay : firstSeed, tally.events, tally.frames, seconds, tally.games,
        tally.turnEnds, tally.battles, tally.battleEnds, tally.endScreens);
    if (replay != 0) {
        return;
    }
    EXPECT_GE(tally.events, budget);
    EXPECT_GT(tally.turnEnds, tally.games) << "the games hardly got past their first turn";
    EXPECT_GT(tally.battles, 0) << "no battle was started";
    EXPECT_GT(tally.battleEnds, 0) << "no battle came to its end";
    // A game takes several thousand events to end; a run shorter than the
    // default may be too short for one, and still checks every invariant.
    if (budget >= kDefaultEvents / kSeedRanges) {
        EXPECT_GT(tally.endScreens, 0) << "no game reached the end screen";
    }
}

TEST(Soak, GamesOfTheFirstSeedRangeKeepEveryInvariant) {
    soakSeedRange(0);
}
TEST(Soak, GamesOfTheSecondSeedRangeKeepEveryInvariant) {
    soakSeedRange(1);
}
TEST(Soak, GamesOfTheThirdSeedRangeKeepEveryInvariant) {
    soakSeedRange(2);
}
TEST(Soak, GamesOfTheFourthSeedRangeKeepEveryInvariant) {
    soakSeedRange(3);
}

}  // namespace
