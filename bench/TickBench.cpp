// What one tick of the rules costs, on the map and in battle, in a game the
// computer plays on both sides from a fixed seed: every tick asks both
// computer players, applies their commands and steps the screen's rules, as
// the main loop does before it draws. Each tick is timed on its own and
// counted under the screen it started on (the title's few are left out); the counters give the mean
// and the slowest tick of each, in microseconds.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

#include "game/Model.h"
#include "game/Tick.h"
#include "record/RecordCodec.h"
#include "record/Recorder.h"
#include "support/RecordedGames.h"
#include "support/World.h"

namespace {

constexpr int kTicksPerRun = 30000;  // over eight minutes of game time

struct TickCost {
    double totalUs = 0;
    double slowestUs = 0;
    long ticks = 0;

    void add(double us) {
        totalUs += us;
        slowestUs = std::max(slowestUs, us);
        ++ticks;
    }
    double meanUs() const { return ticks == 0 ? 0 : totalUs / ticks; }
};

void BM_TicksOfAComputerGame(benchmark::State& state) {
    const bool recording = state.range(0) != 0;
    const ScratchFolder folder;
    TickCost map;
    TickCost battle;
    std::uint32_t seed = 5;
    for (auto _ : state) {
        ++seed;
        Model* model = buildWorld(seed);
        RecordHeader header;
        header.seed = seed;
        Recorder recorder(folder.path(), header);
        if (recording) {
            model->observers.push_back(&recorder);
        }
        model->addComputer(0);
        model->addComputer(1);
        for (int i = 0; i < kTicksPerRun && model->screen != EndScreen; ++i) {
            const Screen screen = model->screen;
            const auto start = std::chrono::steady_clock::now();
            runTick();
            const std::chrono::duration<double, std::micro> spent =
                std::chrono::steady_clock::now() - start;
            if (screen == MapScreen) {
                map.add(spent.count());
            } else if (screen == BattleScreen) {
                battle.add(spent.count());
            }
        }
        Model::resetSelf();
    }
    state.counters["map_tick_us"] = map.meanUs();
    state.counters["map_slowest_us"] = map.slowestUs;
    state.counters["map_ticks"] = static_cast<double>(map.ticks);
    state.counters["battle_tick_us"] = battle.meanUs();
    state.counters["battle_slowest_us"] = battle.slowestUs;
    state.counters["battle_ticks"] = static_cast<double>(battle.ticks);
}

BENCHMARK(BM_TicksOfAComputerGame)
    ->ArgName("recorded")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

}  // namespace
