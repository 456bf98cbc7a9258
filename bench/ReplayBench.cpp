// How long a record takes to play through headless, as --verify, --resume and
// --replay's check do: the longest of a range of games the computer plays
// against itself within its tournament's cap of 300 turns, each recorded as
// the game records it; the re-play includes growing the map from the seed.
// Reports the chosen game's turns, ticks and record size too.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "game/Model.h"
#include "record/RecordCodec.h"
#include "record/Replay.h"
#include "support/RecordedGames.h"

namespace {

constexpr std::uint32_t kFirstSeed = 1;  // as the tournament's
constexpr int kGames = 20;
constexpr long kTickCap = 3000000;
constexpr int kTurnCap = 300;

struct Longest {
    std::vector<std::uint8_t> bytes;
    Record record;
    int turns = 0;
};

// Plays the games and keeps the record with the most ticks.
Longest longestGame(const ScratchFolder& folder) {
    Longest longest;
    for (int game = 0; game < kGames; ++game) {
        const std::string path =
            recordComputerGame(folder.path(), kFirstSeed + game, kTickCap, kTurnCap);
        const int turns = Model::getSelf()->turn;
        Model::resetSelf();
        std::vector<std::uint8_t> bytes = readBytes(path);
        Record record = RecordCodec::decode(bytes.data(), bytes.size()).record;
        std::printf("seed %u: %d turns, %zu bytes\n", kFirstSeed + game, turns, bytes.size());
        if (record.lastTick() > longest.record.lastTick()) {
            longest = {std::move(bytes), std::move(record), turns};
        }
    }
    return longest;
}

void BM_ReplayTheLongestComputerGame(benchmark::State& state) {
    const ScratchFolder folder;
    const Longest longest = longestGame(folder);
    ReplayOutcome outcome;
    for (auto _ : state) {
        Model::resetSelf();
        outcome = Replay::headless(longest.record);
        Model::resetSelf();
    }
    state.counters["turns"] = longest.turns;
    state.counters["ticks"] = static_cast<double>(outcome.ticks);
    state.counters["record_bytes"] = static_cast<double>(longest.bytes.size());
    long hashes = 0;
    for (const RecordEntry& entry : longest.record.entries) {
        hashes += entry.kind == RecordEntry::Kind::Hash ? 1 : 0;
    }
    state.counters["hashes"] = static_cast<double>(hashes);
    state.counters["commands"] = static_cast<double>(longest.record.entries.size() - hashes);
    state.counters["verified"] = outcome.ok ? 1 : 0;
}

BENCHMARK(BM_ReplayTheLongestComputerGame)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
