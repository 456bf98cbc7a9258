#include "support/World.h"

#include "app/Entry.h"
#include "battle/Battle.h"
#include "battle/Lane.h"
#include "game/Model.h"
#include "game/Random.h"
#include "game/TurnCycle.h"

namespace {

// A new Model seeds the generator with the time, so it must exist first.
Model* seededModel(std::uint32_t seed) {
    Model* model = Model::getSelf();
    Random::seed(seed);
    return model;
}

}  // namespace

Model* buildWorld(std::uint32_t seed, int nodeCount, unsigned parts) {
    Model* model = seededModel(seed);
    model->createNodes(nodeCount);
    if ((parts & kPlayersPart) != 0) {
        model->createPlayers(kPlayerCount);
    }
    if ((parts & kSelectorPart) != 0) {
        model->createSelector();
    }
    if ((parts & kHudPart) != 0) {
        model->createHud();
    }
    if ((parts & kNodeMapPart) != 0) {
        model->createNodeMap();
    }
    return model;
}

Model* buildWholeGame(std::uint32_t seed, int windowWidth, int windowHeight) {
    Model* model = seededModel(seed);
    createWorld(kPlayerCount, kWorldNodes);
    model->windowWidth = windowWidth;
    model->windowHeight = windowHeight;
    return model;
}

void endTurn(Model* model) {
    model->endTurnRequested = true;
    finishTurn();
}

unsigned char endTurnKey(const Model* model) {
    return model->currentPlayer == 0 ? 'q' : 'p';
}

int unitsInLanes(const Battle* battle) {
    int units = 0;
    for (const Lane* lane : battle->lanes) {
        units += lane->attackerCount + lane->defenderCount;
    }
    return units;
}
