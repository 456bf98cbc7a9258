// How strong the computer player is, and what its choices cost: headless
// tournaments (no window, no drawing; the rules advanced frame by frame) of
// 200 seeded games each, the computer alternating sides, against random
// legal play, against the soak tests' guided hands, and against itself.
// Reported per tournament: wins, losses and unfinished games, turns per game,
// and the time the computer took to choose each map action and in each
// battle step (mean, 99th percentile, most), in microseconds.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <numeric>
#include <vector>

#include "support/Tournament.h"

namespace {

constexpr int kGames = 200;
constexpr std::uint32_t kFirstSeed = 5000;

void reportTimes(benchmark::State& state, const char* name, std::vector<double> seconds) {
    if (seconds.empty()) {
        return;
    }
    std::sort(seconds.begin(), seconds.end());
    const double mean = std::accumulate(seconds.begin(), seconds.end(), 0.0) / seconds.size();
    const std::string prefix = name;
    state.counters[prefix + "_us_mean"] = mean * 1e6;
    state.counters[prefix + "_us_p99"] = seconds[seconds.size() * 99 / 100] * 1e6;
    state.counters[prefix + "_us_max"] = seconds.back() * 1e6;
}

void tournament(benchmark::State& state, Opponent opponent, int turnCap) {
    int wins = 0;
    int losses = 0;
    int unfinished = 0;
    long turns = 0;
    std::vector<double> mapActions;
    std::vector<double> battleSteps;
    for (auto _ : state) {
        for (int game = 0; game < kGames; ++game) {
            const MatchResult result = playMatch(kFirstSeed + game, game % 2, opponent, turnCap);
            wins += result.finished && result.computerWon ? 1 : 0;
            losses += result.finished && !result.computerWon ? 1 : 0;
            unfinished += result.finished ? 0 : 1;
            turns += result.turns;
            mapActions.insert(mapActions.end(), result.mapActionSeconds.begin(),
                              result.mapActionSeconds.end());
            battleSteps.insert(battleSteps.end(), result.battleStepSeconds.begin(),
                               result.battleStepSeconds.end());
        }
    }
    state.counters["games"] = kGames;
    state.counters["wins"] = wins;
    state.counters["losses"] = losses;
    state.counters["unfinished"] = unfinished;
    state.counters["turns_per_game"] = static_cast<double>(turns) / kGames;
    reportTimes(state, "map_action", mapActions);
    reportTimes(state, "battle_step", battleSteps);
}

}  // namespace

BENCHMARK_CAPTURE(tournament, against_random_play, Opponent::Random, 1000)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(tournament, against_guided_hands, Opponent::Guided, 1000)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(tournament, against_itself_within_300_turns, Opponent::Computer, 300)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
