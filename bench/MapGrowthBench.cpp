// Cost of growing the 50-node map at start-up, per walk step. The walk-step
// count of each map comes from the step-by-step reference growth, which takes
// exactly the same walk; the game's growth is timed over the same seeds, and
// the reference itself is timed too for comparison. A bare draw of the
// generator is measured in the same run, for scale.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <ctime>
#include <memory>
#include <vector>

#include "game/Model.h"
#include "game/Node.h"
#include "game/Random.h"
#include "support/ReferenceGrowth.h"
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

struct ReferenceRun {
    long walkSteps = 0;
    std::uint32_t stateAfter = 0;
};

ReferenceRun growReferenceFrom(std::uint32_t state) {
    std::vector<std::unique_ptr<Node>> owned;
    std::vector<Node*> nodes;
    for (int i = 0; i < kMapNodes; ++i) {
        owned.push_back(std::make_unique<Node>(0));
        nodes.push_back(owned.back().get());
    }
    Random::seed(state);
    ReferenceRun run;
    run.walkSteps = reference::growMap(nodes);
    run.stateAfter = Random::currentState();
    return run;
}

// Per seed: the state where the map starts, and the reference's walk.
struct Workload {
    std::vector<std::uint32_t> statesBefore;
    std::vector<ReferenceRun> reference;
    long totalSteps = 0;
};

const Workload& workload() {
    static const Workload loaded = [] {
        Workload w;
        for (int i = 0; i < kSeeds; ++i) {
            w.statesBefore.push_back(worldBeforeMap(kFirstSeed + i));
            w.reference.push_back(growReferenceFrom(w.statesBefore.back()));
            w.totalSteps += w.reference.back().walkSteps;
        }
        Model::resetSelf();
        return w;
    }();
    return loaded;
}

void reportPerStep(benchmark::State& state, double totalSeconds, long steps) {
    const double iterations = static_cast<double>(state.iterations());
    state.counters["maps"] = kSeeds;
    state.counters["walk_steps"] = static_cast<double>(steps);
    state.counters["ns_per_step"] = totalSeconds * 1e9 / (iterations * static_cast<double>(steps));
    state.counters["ms_per_map"] = totalSeconds * 1e3 / (iterations * kSeeds);
}

// The game's growth as createNodeMap runs it; only that call is timed.
void BM_GameGrowth(benchmark::State& state) {
    const Workload& w = workload();
    double total = 0;
    for (auto _ : state) {
        double elapsed = 0;
        for (int i = 0; i < kSeeds; ++i) {
            worldBeforeMap(kFirstSeed + i);
            const double start = threadSeconds();
            Model::getSelf()->createNodeMap();
            elapsed += threadSeconds() - start;
            if (Random::currentState() != w.reference[i].stateAfter) {
                state.SkipWithError("the growth took other draws than the reference");
            }
        }
        state.SetIterationTime(elapsed);
        total += elapsed;
    }
    Model::resetSelf();
    reportPerStep(state, total, w.totalSteps);
}
BENCHMARK(BM_GameGrowth)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// The step-by-step walk over the Node objects, for comparison.
void BM_ReferenceGrowth(benchmark::State& state) {
    const Workload& w = workload();
    double total = 0;
    for (auto _ : state) {
        double elapsed = 0;
        for (int i = 0; i < kSeeds; ++i) {
            const double start = threadSeconds();
            const ReferenceRun run = growReferenceFrom(w.statesBefore[i]);
            elapsed += threadSeconds() - start;
            benchmark::DoNotOptimize(run.walkSteps);
        }
        state.SetIterationTime(elapsed);
        total += elapsed;
    }
    Model::resetSelf();
    reportPerStep(state, total, w.totalSteps);
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
