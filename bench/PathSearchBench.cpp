// Cost of the path search on grown 50-node maps with a dozen ships standing on
// them, and of a whole turn end while ships walk towards their destinations.
#include <benchmark/benchmark.h>

#include <vector>

#include "game/Model.h"
#include "game/Node.h"
#include "game/NodeMap.h"
#include "game/Player.h"
#include "game/Random.h"
#include "game/Ship.h"
#include "support/World.h"

namespace {

constexpr int kMapNodes = 50;
constexpr int kShipsOnMap = 12;
constexpr int kMaps = 8;

// A grown map with kShipsOnMap ships: the two home ships and more bought for
// both players, alternately, on random free nodes.
void buildWorldWithShips(std::uint32_t seed) {
    Model::resetSelf();
    Model* model = buildWorld(seed, kMapNodes);
    model->screen = MapScreen;
    for (int placed = model->playerCount; placed < kShipsOnMap;) {
        Node* node = model->nodes[Random::draw() % kMapNodes];
        if (model->players[placed % 2]->buyShip(node)) {
            ++placed;
        }
    }
}

struct Search {
    Node* start;
    Node* target;
};

// From every ship to every node, as the ships' own searches would go.
std::vector<Search> searchesOnMap() {
    const Model* model = Model::getSelf();
    std::vector<Search> searches;
    for (int p = 0; p < model->playerCount; ++p) {
        const Player* player = model->players[p];
        for (int s = 0; s < player->shipCount; ++s) {
            for (int i = 0; i < model->nodeCount; ++i) {
                searches.push_back({player->ships[s]->location, model->nodes[i]});
            }
        }
    }
    return searches;
}

void BM_FindNextStep(benchmark::State& state) {
    const std::uint32_t seed = static_cast<std::uint32_t>(state.range(0));
    buildWorldWithShips(seed);
    const std::vector<Search> searches = searchesOnMap();
    NodeMap* map = Model::getSelf()->nodeMap;
    size_t next = 0;
    long steps = 0;
    long dequeued = 0;
    for (auto _ : state) {
        const Search& search = searches[next];
        Node* step = map->findNextStep(search.start, search.target);
        benchmark::DoNotOptimize(step);
        steps += step != nullptr ? 1 : 0;
        dequeued += map->queueHead;
        next = next + 1 == searches.size() ? 0 : next + 1;
    }
    // The share of searches that found a step, and the nodes each one took
    // from the queue: with a dozen ships on a thin map many targets are cut off.
    state.counters["withStep"] =
        benchmark::Counter(static_cast<double>(steps), benchmark::Counter::kAvgIterations);
    state.counters["dequeued"] =
        benchmark::Counter(static_cast<double>(dequeued), benchmark::Counter::kAvgIterations);
    Model::resetSelf();
}
BENCHMARK(BM_FindNextStep)->DenseRange(1, kMaps);

// Ships that arrived, or that did not step in their owner's last turn because
// their destination was cut off, pick a new random one, so ships keep moving.
void giveOrders(Model* model) {
    for (int p = 0; p < model->playerCount; ++p) {
        Player* player = model->players[p];
        for (int s = 0; s < player->shipCount; ++s) {
            Ship* ship = player->ships[s];
            if (ship->destination == nullptr || !ship->moved) {
                ship->destination = model->nodes[Random::draw() % kMapNodes];
            }
        }
    }
}

// Ships of the player whose turn has just begun that stepped at its start.
int shipsThatStepped(const Model* model) {
    const Player* player = model->players[model->currentPlayer];
    int stepped = 0;
    for (int s = 0; s < player->shipCount; ++s) {
        stepped += player->ships[s]->moved ? 1 : 0;
    }
    return stepped;
}

// Every turn end runs the nodes' effects and steps the ships of the player
// whose turn begins. An untimed run first measures how many ships step per
// turn end, so that the figure says what the timed turn ends did.
void BM_FinishTurn(benchmark::State& state) {
    const std::uint32_t seed = static_cast<std::uint32_t>(state.range(0));
    buildWorldWithShips(seed);
    Model* model = Model::getSelf();
    constexpr int kSampleTurns = 2000;
    long stepped = 0;
    for (int turn = 0; turn < kSampleTurns; ++turn) {
        giveOrders(model);
        endTurn(model);
        stepped += shipsThatStepped(model);
    }
    for (auto _ : state) {
        giveOrders(model);
        endTurn(model);
    }
    state.counters["stepsPerTurn"] = static_cast<double>(stepped) / kSampleTurns;
    Model::resetSelf();
}
BENCHMARK(BM_FinishTurn)->DenseRange(1, kMaps);

}  // namespace
