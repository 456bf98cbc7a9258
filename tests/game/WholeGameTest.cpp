#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "game/Model.h"
#include "game/Node.h"
#include "game/Player.h"
#include "game/Ship.h"
#include "support/Invariants.h"
#include "support/World.h"

namespace {

constexpr int kSeeds = 24;
constexpr int kTurnsPerGame = 400;

// What the scripted games did, so that a run that never moved, bought or took
// anything cannot pass unnoticed.
struct GameTally {
    int steps = 0;
    int purchases = 0;
    int captures = 0;
    int arrivals = 0;
    int shipsLost = 0;
};

Node* randomNode(std::mt19937& script) {
    const Model* model = Model::getSelf();
    return model->nodes[std::uniform_int_distribution<int>(0, model->nodeCount - 1)(script)];
}

using Occupied = std::unordered_set<const Node*>;

Occupied occupiedNodes() {
    const Model* model = Model::getSelf();
    Occupied occupied;
    for (int i = 0; i < model->nodeCount; ++i) {
        if (model->nodes[i]->ship != nullptr) {
            occupied.insert(model->nodes[i]);
        }
    }
    return occupied;
}

// An independent judge of one step attempt: free-path distances counted back
// from the target, with ships blocking every node but the target and the
// mover's own. Returns what is wrong with going from `from` to `to`.
std::string wrongStep(const Node* from, const Node* to, const Node* target,
                      const Occupied& occupied) {
    std::unordered_map<const Node*, int> distance{{target, 0}};
    std::vector<const Node*> queue{target};
    for (size_t head = 0; head < queue.size(); ++head) {
        const Node* node = queue[head];
        for (int slot = 0; slot < kSlotCount; ++slot) {
            const Node* next = node->neighbors[slot];
            if (next == nullptr || distance.count(next) != 0) {
                continue;
            }
            if (next == from || occupied.count(next) == 0) {
                distance[next] = distance[node] + 1;
                queue.push_back(next);
            }
        }
    }
    const auto left = distance.find(from);
    const bool blockedAtTheEnd =
        left != distance.end() && left->second == 1 && occupied.count(target) != 0;
    if (left == distance.end() || left->second == 0 || blockedAtTheEnd) {
        return to == from ? "" : "a ship stepped with no free path to take";
    }
    if (to == from) {
        return "a ship with a free path did not step";
    }
    const auto reached = distance.find(to);
    if (!from->isNeighbor(to) || reached == distance.end() || reached->second != left->second - 1) {
        return "a step off every shortest free path";
    }
    return "";
}

// One turn of orders for the player on turn: random destinations (now and then
// a cancel), a purchase when it pleases, and now and then a ship lost as if in
// battle. Returns what went wrong, or an empty text.
std::string playOrders(std::mt19937& script, GameTally& tally) {
    Model* model = Model::getSelf();
    Player* player = model->players[model->currentPlayer];
    std::uniform_int_distribution<int> percent(0, 99);
    for (int s = 0; s < player->shipCount; ++s) {
        Ship* ship = player->ships[s];
        const int roll = percent(script);
        if (roll < 5) {
            ship->setDestination(nullptr);
            continue;
        }
        if (roll >= 35) {
            continue;
        }
        const Node* before = ship->location;
        const bool hadMoved = ship->moved;
        const Occupied occupied = occupiedNodes();
        Node* target = randomNode(script);
        ship->setDestination(target);
        if (hadMoved && ship->location != before) {
            return "an order moved a ship twice in one turn";
        }
        const std::string wrong =
            hadMoved ? "" : wrongStep(before, ship->location, target, occupied);
        if (!wrong.empty()) {
            return "order: " + wrong;
        }
        tally.steps += ship->location != before ? 1 : 0;
    }
    if (percent(script) < 40) {
        const int before = player->shipCount;
        player->buyShipAtHome();
        tally.purchases += player->shipCount - before;
    }
    if (percent(script) < 3) {
        Player* loser = model->players[percent(script) % model->playerCount];
        if (loser->shipCount > 0) {
            loser->removeShip(loser->ships[percent(script) % loser->shipCount]);
            ++tally.shipsLost;
        }
    }
    return "";
}

// Where everything stood before a turn end.
struct Snapshot {
    struct Place {
        Node* location;
        Node* destination;
    };
    std::map<const Ship*, Place> ships;
    std::map<const Node*, const Player*> owners;
    Occupied occupied;
    int nodeTotals[2] = {};
};

Snapshot takeSnapshot() {
    const Model* model = Model::getSelf();
    Snapshot snapshot;
    for (int p = 0; p < model->playerCount; ++p) {
        const Player* player = model->players[p];
        snapshot.nodeTotals[p] = player->nodeTotal;
        for (int s = 0; s < player->shipCount; ++s) {
            const Ship* ship = player->ships[s];
            snapshot.ships[ship] = {ship->location, ship->destination};
        }
    }
    for (int i = 0; i < model->nodeCount; ++i) {
        snapshot.owners[model->nodes[i]] = model->nodes[i]->owner;
    }
    snapshot.occupied = occupiedNodes();
    return snapshot;
}

// At a turn end the other player's ships stay put; the ships of the player
// whose turn begins step in list order, each one judged on the nodes occupied
// after the steps of the ships before it.
std::string brokenTurnMoves(Snapshot before, GameTally& tally) {
    const Model* model = Model::getSelf();
    const Player* starting = model->players[model->currentPlayer];
    for (const auto& [ship, place] : before.ships) {
        if (ship->owner != starting && ship->location != place.location) {
            return "a ship moved in the other player's turn";
        }
    }
    for (int s = 0; s < starting->shipCount; ++s) {
        const Ship* ship = starting->ships[s];
        const Snapshot::Place place = before.ships.at(ship);
        if (ship->moved != (ship->location != place.location)) {
            return "a ship's moved flag does not tell whether it stepped";
        }
        if (ship->destination != nullptr && ship->destination == ship->location) {
            return "a ship kept the destination it stands on";
        }
        if (place.destination == nullptr) {
            if (ship->location != place.location) {
                return "a ship stepped without an order";
            }
            continue;
        }
        const std::string wrong =
            wrongStep(place.location, ship->location, place.destination, before.occupied);
        if (!wrong.empty()) {
            return "turn move: " + wrong;
        }
        if (ship->location == place.location) {
            continue;
        }
        before.occupied.erase(place.location);
        before.occupied.insert(ship->location);
        ++tally.steps;
        tally.arrivals += ship->location == place.destination ? 1 : 0;
        tally.captures += before.owners.at(ship->location) != ship->owner ? 1 : 0;
    }
    return "";
}

class WholeGame : public ::testing::Test {
protected:
    void TearDown() override { Model::resetSelf(); }
};

TEST_F(WholeGame, RandomOrdersOverManyTurnsKeepEveryInvariant) {
    GameTally tally;
    for (int seed = 1; seed <= kSeeds; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Model::resetSelf();
        Model* model = buildWorld(static_cast<std::uint32_t>(seed));
        model->screen = MapScreen;
        ASSERT_EQ(brokenInvariant(model), "");
        std::mt19937 script(static_cast<std::uint32_t>(seed));
        for (int turn = 0; turn < kTurnsPerGame && model->screen != EndScreen; ++turn) {
            SCOPED_TRACE("turn " + std::to_string(turn));
            ASSERT_EQ(playOrders(script, tally), "");
            ASSERT_EQ(brokenInvariant(model), "");
            const Snapshot before = takeSnapshot();
            const int ending = model->currentPlayer;
            endTurn(model);
            ASSERT_EQ(model->currentPlayer, 1 - ending);
            ASSERT_FALSE(model->endTurnRequested);
            ASSERT_EQ(model->selectedShip, nullptr);
            ASSERT_EQ(brokenTurnMoves(before, tally), "");
            ASSERT_EQ(brokenInvariant(model), "");
            if (model->screen == EndScreen) {
                // The loss test looks at the nodes held when the turn end began.
                ASSERT_EQ(before.nodeTotals[model->loser], 0);
            } else {
                ASSERT_NE(before.nodeTotals[0], 0);
                ASSERT_NE(before.nodeTotals[1], 0);
            }
        }
    }
    EXPECT_GT(tally.steps, kSeeds * 10);
    EXPECT_GT(tally.purchases, kSeeds);
    EXPECT_GT(tally.captures, kSeeds * 10);
    EXPECT_GT(tally.arrivals, kSeeds);
    EXPECT_GT(tally.shipsLost, 0);
}

}  // namespace
