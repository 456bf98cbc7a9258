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
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <sstream>
#include <string>
#include <tuple>

#include "ai/ComputerPlayer.h"
#include "app/Input.h"
#include "app/Screens.h"
#include "battle/Battle.h"
#include "battle/Lane.h"
#include "game/Model.h"
#include "game/Node.h"
#include "game/Player.h"
#include "game/Ship.h"
#include "support/GuidedHands.h"
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

// Input goes to the game's callbacks; a frame is drawn as the game draws it.
void apply(const Event& event) {
    if (event.kind == EventKind::Frame) {
        playFrame(1);
    } else {
        deliverInput(event);
    }
}

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

// The sides the computer player plays; the hands' input for them is ignored.
using ComputerSides = std::array<bool, kPlayerCount>;

class Game {
public:
    Game(std::uint32_t gameSeed, Tally& gameTally, const ComputerSides& computer)
        : seed(gameSeed), tally(gameTally), model(startSoakGame(gameSeed)), hands(gameSeed) {
        for (int side = 0; side < kPlayerCount; ++side) {
            if (computer[side]) {
                model->addComputer(side);
            }
        }
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
    GuidedHands hands;
    std::deque<Event> recent;
    int shipsBeforeBattle = 0;
    Standings atEnd{};
};

// Plays the games of one seed range until the range's share of the events is
// used up (or, with KARVOSSA_SOAK_SEED set, that one game if it lies in this
// range), then requires that battles, their ends and the end screen came up.
void soakSeedRange(int range, const ComputerSides& computer = {}) {
    const std::uint32_t firstSeed = kRangeStride * static_cast<std::uint32_t>(range + 1);
    const std::uint32_t replay = soakReplaySeed();
    if (replay != 0 && replay / kRangeStride != firstSeed / kRangeStride) {
        GTEST_SKIP() << "replaying seed " << replay << ", which another range plays";
    }
    // The computer player takes a third of a second for each map action, so
    // its games are long: they get the whole budget.
    const bool computerPlays = computer[0] || computer[1];
    const long gameCap =
        computerPlays ? soakEventsFromEnvironment(kDefaultEvents) / kSeedRanges : kGameEventCap;
    const long budget =
        replay != 0 ? gameCap : soakEventsFromEnvironment(kDefaultEvents) / kSeedRanges;
    Tally tally;
    const auto start = std::chrono::steady_clock::now();
    for (std::uint32_t seed = replay != 0 ? replay : firstSeed; tally.events < budget; ++seed) {
        const long left = budget - tally.events;
        Game(seed, tally, computer).play(left < gameCap ? left : gameCap);
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
    // A game takes several thousand events to end, and one the computer plays
    // many more; a shorter run still checks every invariant.
    if (!computerPlays && budget >= kDefaultEvents / kSeedRanges) {
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
TEST(Soak, TheComputerPlayingOneSideKeepsEveryInvariant) {
    soakSeedRange(4, {false, true});
}
TEST(Soak, TheComputerPlayingBothSidesKeepsEveryInvariant) {
    soakSeedRange(5, {true, true});
}

}  // namespace
