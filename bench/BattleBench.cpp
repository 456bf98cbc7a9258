// Cost of one battle step with 40 units per side, eight in each lane. The
// ships' health is restored after every step so that the battle never ends
// while it is measured; that restore is part of the measured loop.
#include <benchmark/benchmark.h>

#include "battle/Battle.h"
#include "battle/Lane.h"
#include "game/Model.h"
#include "game/Ship.h"
#include "support/PerFrameScenes.h"
#include "support/World.h"

namespace {

constexpr int kStepsPerRun = 500;

Battle* freshBattle() {
    Model::resetSelf();
    buildWorld(1, 2, kPlayersPart);
    return perframe::startFullBattle();
}

void runSteps(benchmark::State& state, bool inContact) {
    for (auto _ : state) {
        state.PauseTiming();
        Battle* battle = freshBattle();
        if (inContact) {
            perframe::closeRanks(battle);
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
