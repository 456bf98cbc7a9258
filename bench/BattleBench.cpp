// Cost of one battle step with 40 units per side, eight in each lane. The
// ships' health is restored after every step so that the battle never ends
// while it is measured; that restore is part of the measured loop.
#include <benchmark/benchmark.h>

#include "battle/Battle.h"
#include "battle/Lane.h"
#include "battle/Unit.h"
#include "game/Model.h"
#include "game/Player.h"
#include "game/Ship.h"

namespace {

constexpr int kUnitsPerSide = 40;
constexpr int kStepsPerRun = 500;

Battle* freshBattle() {
    Model::resetSelf();
    Model* model = Model::getSelf();
    model->createNodes(2);
    model->createPlayers(2);
    Ship* attacker = model->players[0]->ships[0];
    Ship* defender = model->players[1]->ships[0];
    for (int kind = 0; kind < kUnitKinds; ++kind) {
        attacker->unitStock[kind] = kStockCap;
        defender->unitStock[kind] = kStockCap;
    }
    model->startBattle(attacker, defender);
    Battle* battle = model->battle;
    // the attacking cursor sweeps right from lane 0, the defending one left from 4
    for (int lane = 0; lane < kLaneCount; ++lane) {
        for (int i = 0; i < kUnitsPerSide / kLaneCount; ++i) {
            battle->deploy(attacker, i % kUnitKinds);
            battle->deploy(defender, (i + 1) % kUnitKinds);
        }
        battle->moveCursor(1, true);
        battle->moveCursor(0, false);
    }
    return battle;
}

// Puts both sides of every lane in the middle, every unit in reach of the
// enemy front, so that each step strikes.
void closeRanks(Battle* battle) {
    for (Lane* lane : battle->lanes) {
        for (int i = 0; i < lane->attackerCount; ++i) {
            lane->attackerUnits[i]->position = 4950;
        }
        for (int i = 0; i < lane->defenderCount; ++i) {
            lane->defenderUnits[i]->position = 4950;
        }
        lane->attackerFront = lane->attackerCount > 0 ? 4950 : 0;
        lane->defenderFront = lane->defenderCount > 0 ? 4950 : 0;
    }
}

void runSteps(benchmark::State& state, bool inContact) {
    for (auto _ : state) {
        state.PauseTiming();
        Battle* battle = freshBattle();
        if (inContact) {
            closeRanks(battle);
        }
        state.ResumeTiming();
        for (int step = 0; step < kStepsPerRun; ++step) {
            battle->update();
            battle->attacker->health = kFullHealth;
            battle->defender->health = kFullHealth;
        }
        benchmark::DoNotOptimize(battle->lanes[0]->attackerCount);
    }
    Model::resetSelf();
    // shown as CPU time per step, e.g. "215n" for 215 ns
    state.counters["per_step"] = benchmark::Counter(
        kStepsPerRun, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// The first steps after deployment: everybody walks.
void BM_BattleStepWalking(benchmark::State& state) {
    runSteps(state, false);
}

// Both sides locked in combat in every lane: targets are chosen and struck.
void BM_BattleStepInContact(benchmark::State& state) {
    runSteps(state, true);
}

BENCHMARK(BM_BattleStepWalking);
BENCHMARK(BM_BattleStepInContact);

}  // namespace
