// Cost of growing the 50-node map at start-up, per walk step. The walk-step
// count of each map comes from the step-by-step reference growth, which takes
// exactly the same walk; the game's growth is timed over the same seeds, and
// the reference itself is timed too for comparison. A bare draw of the
// generator is measured in the same run, for scale.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <ctime>
#include <functional>
#include <vector>

#include "game/Model.h"
#include "game/Node.h"
#include "game/Random.h"
#include "support/ReferenceMap.h"
#include "support/World.h"

namespace {

constexpr int kMapNodes = 50;
constexpr std::uint32_t kFirstSeed = 1700000000;  // start times a second apart
constexpr int kSeeds = 20;

// The growth runs are timed in this thread's CPU time, so that other work on a
// shared machine does not count as growth time.
double threadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Builds the world up to the map and returns the generator's state there.
std::uint32_t worldBeforeMap(std::uint32_t seed) {
    Model::resetSelf();
    buildWorld(seed, kMapNodes, kPlayersPart | kSelectorPart);
    return Random::currentState();
}

// Per seed: the states where the map starts and where the reference's walk
// ends, which the game's growth must end on too.
struct Workload {
    std::vector<std::uint32_t> statesBefore;
    std::vector<std::uint32_t> statesAfter;
    long totalSteps = 0;
};

const Workload& workload() {
    static const Workload loaded = [] {
        Workload w;
        for (int i = 0; i < kSeeds; ++i) {
            w.statesBefore.push_back(worldBeforeMap(kFirstSeed + i));
            const ReferenceMap walked = growReferenceMap(w.statesBefore.back(), kMapNodes);
            w.statesAfter.push_back(walked.stateAfter);
            w.totalSteps += walked.walkSteps;
        }
        Model::resetSelf();
        return w;
    }();
    return loaded;
}

// Runs every seed's growth in each iteration; timedGrowth returns the seconds
// of the part that counts. Reports the time per walk step and per map.
void timeEverySeed(benchmark::State& state, const std::function<double(int)>& timedGrowth) {
    const Workload& w = workload();
    double total = 0;
    for (auto _ : state) {
        double elapsed = 0;
        for (int i = 0; i < kSeeds; ++i) {
            elapsed += timedGrowth(i);
        }
        state.SetIterationTime(elapsed);
        total += elapsed;
    }
    Model::resetSelf();
    const double iterations = static_cast<double>(state.iterations());
    const double steps = static_cast<double>(w.totalSteps);
    state.counters["maps"] = kSeeds;
    state.counters["walk_steps"] = steps;
    state.counters["ns_per_step"] = total * 1e9 / (iterations * steps);
    state.counters["ms_per_map"] = total * 1e3 / (iterations * kSeeds);
}

// The game's growth as createNodeMap runs it; only that call is timed.
void BM_GameGrowth(benchmark::State& state) {
    timeEverySeed(state, [&state](int i) {
        worldBeforeMap(kFirstSeed + i);
        const double start = threadSeconds();
        Model::getSelf()->createNodeMap();
        const double elapsed = threadSeconds() - start;
        if (Random::currentState() != workload().statesAfter[i]) {
            state.SkipWithError("the growth took other draws than the reference");
        }
        return elapsed;
    });
}
BENCHMARK(BM_GameGrowth)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// The step-by-step walk over the Node objects, for comparison.
void BM_ReferenceGrowth(benchmark::State& state) {
    timeEverySeed(state, [](int i) {
        const double start = threadSeconds();
        const long steps = growReferenceMap(workload().statesBefore[i], kMapNodes).walkSteps;
        const double elapsed = threadSeconds() - start;
        benchmark::DoNotOptimize(steps);
        return elapsed;
    });
}
BENCHMARK(BM_ReferenceGrowth)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

// One draw as the rest of the game takes it, through the shared state.
void BM_BareDraw(benchmark::State& state) {
    Random::seed(1);
    for (auto _ : state) {
        benchmark::DoNotOptimize(Random::draw());
    }
}
BENCHMARK(BM_BareDraw);

// One draw with the state held in a register: the generator's own latency.
void BM_BareDrawInRegister(benchmark::State& state) {
    std::uint32_t current = Random::currentState();
    for (auto _ : state) {
        current = Random::next(current);
        int drawn = Random::drawOf(current);
        benchmark::DoNotOptimize(drawn);
    }
    Random::seed(current);
}
BENCHMARK(BM_BareDrawInRegister);

}  // namespace
