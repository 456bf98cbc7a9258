#pragma once
// The battle tests' world: twelve nodes and both players, each with its home
// ship, on the map screen. Player 0's first ship attacks player 1's; both
// start with empty stocks. start() begins the battle as an attack does and
// run() steps it as the ticks do.
#include <gtest/gtest.h>

#include "battle/Battle.h"
#include "game/Model.h"
#include "game/Player.h"
#include "game/Tick.h"
#include "support/World.h"

class BattleTest : public ::testing::Test {
protected:
    static constexpr int kNodes = 12;

    void SetUp() override {
        model = buildWorld(1, kNodes, kPlayersPart);
        model->screen = MapScreen;
        attacker = model->players[0]->ships[0];
        defender = model->players[1]->ships[0];
    }
    void TearDown() override { Model::resetSelf(); }

    Battle* start() {
        model->startBattle(attacker, defender);
        return model->battle;
    }
    // Runs up to count ticks, a battle step each; false once the battle has ended.
    bool run(int count) {
        for (int i = 0; i < count; ++i) {
            if (model->battle == nullptr) {
                return false;
            }
            runTick();
        }
        return model->battle != nullptr;
    }

    Model* model = nullptr;
    Ship* attacker = nullptr;
    Ship* defender = nullptr;
};
