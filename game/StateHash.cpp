// Model::stateHash: FNV-1a over the rules' state, field by field in a fixed
// order. Objects enter it by what they are, never by address: a node by its
// index in the Model, a ship by its owner and its place in the owner's list.
#include <cstdint>

#include "battle/Battle.h"
#include "battle/Lane.h"
#include "battle/Unit.h"
#include "game/Model.h"
#include "game/Node.h"
#include "game/Player.h"
#include "game/Random.h"
#include "game/Ship.h"

namespace {

class Digest {
public:
    void add(std::uint64_t value) {
        for (int byte = 0; byte < 8; ++byte) {
            hash_ = (hash_ ^ ((value >> (8 * byte)) & 0xffu)) * kPrime;
        }
    }
    void add(std::int64_t value) { add(static_cast<std::uint64_t>(value)); }
    void add(int value) { add(static_cast<std::int64_t>(value)); }
    void add(bool value) { add(value ? 1 : 0); }
    std::uint64_t value() const { return hash_; }

private:
    static constexpr std::uint64_t kPrime = 1099511628211u;
    std::uint64_t hash_ = 14695981039346656037u;
};

constexpr int kNone = -1;

// A ship as its owner's index times the node count plus its place in the list.
int idOfShip(const Model* model, const Ship* ship) {
    if (ship == nullptr) {
        return kNone;
    }
    const Player* owner = ship->owner;
    for (int i = 0; owner != nullptr && i < owner->shipCount; ++i) {
        if (owner->ships[i] == ship) {
            return model->sideOf(owner) * model->nodeCount + i;
        }
    }
    return kNone;
}

void addNodes(Digest& digest, const Model* model) {
    for (int i = 0; model->nodes != nullptr && i < model->nodeCount; ++i) {
        const Node* node = model->nodes[i];
        digest.add(node->kind);
        digest.add(model->sideOf(node->owner));
        digest.add(idOfShip(model, node->ship));
    }
}

void addShip(Digest& digest, const Model* model, const Ship* ship) {
    digest.add(model->indexOf(ship->location));
    digest.add(model->indexOf(ship->destination));
    digest.add(ship->moved);
    digest.add(ship->health);
    for (const int stock : ship->unitStock) {
        digest.add(stock);
    }
}

void addPlayers(Digest& digest, const Model* model) {
    for (int p = 0; model->players != nullptr && p < model->playerCount; ++p) {
        const Player* player = model->players[p];
        digest.add(player->credits);
        digest.add(model->indexOf(player->homeNode));
        digest.add(player->nodeTotal);
        for (int i = 0; i < player->nodeTotal; ++i) {
            digest.add(model->indexOf(player->nodes[i]));
        }
        digest.add(player->shipCount);
        for (int i = 0; i < player->shipCount; ++i) {
            addShip(digest, model, player->ships[i]);
        }
    }
}

void addUnits(Digest& digest, Unit* const* units, int count) {
    digest.add(count);
    for (int i = 0; i < count; ++i) {
        const Unit* unit = units[i];
        digest.add(unit->kind);
        digest.add(unit->position);
        digest.add(unit->health);
        digest.add(unit->cooldown);
    }
}

void addBattle(Digest& digest, const Model* model) {
    const Battle* battle = model->battle;
    digest.add(battle != nullptr);
    if (battle == nullptr) {
        return;
    }
    digest.add(idOfShip(model, battle->attacker));
    digest.add(idOfShip(model, battle->defender));
    digest.add(battle->attackerLane);
    digest.add(battle->defenderLane);
    digest.add(battle->battleOver);
    digest.add(battle->defenderLost);
    for (const Lane* lane : battle->lanes) {
        addUnits(digest, lane->attackerUnits, lane->attackerCount);
        addUnits(digest, lane->defenderUnits, lane->defenderCount);
        digest.add(lane->attackerFront);
        digest.add(lane->defenderFront);
    }
}

}  // namespace

std::uint64_t Model::stateHash() const {
    Digest digest;
    addNodes(digest, this);
    addPlayers(digest, this);
    digest.add(turn);
    digest.add(currentPlayer);
    digest.add(static_cast<int>(screen));
    digest.add(indexOf(selectedNode));
    digest.add(idOfShip(this, selectedShip));
    digest.add(endTurnRequested);
    digest.add(static_cast<int>(loser));
    addBattle(digest, this);
    digest.add(static_cast<std::uint64_t>(Random::currentState()));
    digest.add(tick);
    digest.add(clock);
    return digest.value();
}
