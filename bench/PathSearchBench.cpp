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
#include "game/TurnCycle.h"

namespace {

constexpr int kMapNodes = 50;
constexpr int kShipsOnMap = 12;
constexpr int kMaps = 8;

// A grown map with kShipsOnMap ships: the two home ships and more bought for
// both players, alternately, on random free nodes.
void buildWorld(std::uint32_t seed) {
    Model::resetSelf();
    Model* model = Model::getSelf();
    Random::seed(seed);
    model->createNodes(kMapNodes);
    model->createPlayers(2);
    model->createSelector();
    model->createNodeMap();
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
    buildWorld(seed);
    const std::vector<Search> searches = searchesOnMap();
    NodeMap* map = Model::getSelf()->nodeMap;
    size_t next = 0;
    int steps = 0;
    for (auto _ : state) {
        const Search& search = searches[next];
        Node* step = map->findNextStep(search.start, search.target);
        benchmark::DoNotOptimize(step);
        steps += step != nullptr ? 1 : 0;
        next = next + 1 == searches.size() ? 0 : next + 1;
    }
    state.counters["withStep"] =
        benchmark::Counter(static_cast<double>(steps), benchmark::Counter::kAvgIterations);
    Model::resetSelf();
}
BENCHMARK(BM_FindNextStep)->DenseRange(1, kMaps);

// Every turn end pays, steps the ships of the player whose turn begins and
// lets ships that arrived pick a new random destination, so ships keep moving.
void BM_FinishTurn(benchmark::State& state) {
    const std::uint32_t seed = static_cast<std::uint32_t>(state.range(0));
    buildWorld(seed);
    Model* model = Model::getSelf();
    for (auto _ : state) {
        for (int p = 0; p < model->playerCount; ++p) {
            Player* player = model->players[p];
            for (int s = 0; s < player->shipCount; ++s) {
                Ship* ship = player->ships[s];
                if (ship->destination == nullptr) {
                    ship->destination = model->nodes[Random::draw() % kMapNodes];
                }
            }
        }
        model->endTurnRequested = true;
        finishTurn();
    }
    Model::resetSelf();
}
BENCHMARK(BM_FinishTurn)->DenseRange(1, kMaps);

}  // namespace
