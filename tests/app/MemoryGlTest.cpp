// Resident memory stays flat over long play: a frame, a turn end, a battle
// step, a unit sent out and killed must each give back whatever they take, so
// that a game left running for hours does not grow. Each test plays a long
// stretch of one screen through the game's own callbacks and compares the
// resident size after the first 1,000 frames, once the driver has settled,
// with the size at the end.
//
// Under AddressSanitizer freed memory sits in quarantine, so the resident
// size says nothing about leaks there; those builds skip these tests.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/Input.h"
#include "app/Screens.h"
#include "battle/Battle.h"
#include "battle/Lane.h"
#include "battle/Unit.h"
#include "game/Model.h"
#include "game/Node.h"
#include "game/NodeMap.h"
#include "game/Player.h"
#include "game/Ship.h"
#include "render/Selector.h"
#include "support/CellPointer.h"
#include "support/Invariants.h"
#include "support/SoakWorld.h"
#include "support/World.h"

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kResidentSizeMeaningless = true;
#else
constexpr bool kResidentSizeMeaningless = false;
#endif

namespace {

constexpr long kSettleFrames = 1000;
constexpr long kLongFrames = 100000;
constexpr long kAllowedHeapGrowth = 1 << 20;  // bytes
// The allocator may keep one freed block of a driver's passing need.
constexpr long kAllowedResidentGrowth = 4 << 20;
constexpr std::uint32_t kSeed = 21;

constexpr const char* kWhySkipped =
    "AddressSanitizer keeps freed memory in quarantine, so the memory in use cannot show whether "
    "memory is given back";

// Memory kept over the long stretch shows in the heap in use. The resident
// size also counts what a driver maps outside malloc, and a freed block the
// allocator holds on to, so it has a looser bound.
void expectFlat(const MemoryUse& settled, const MemoryUse& last) {
    const long heapGrown = last.heap - settled.heap;
    const long residentGrown = last.resident - settled.resident;
    std::printf("after the first 1,000: heap %ld KiB, resident %ld KiB; then %+ld, %+ld bytes\n",
                settled.heap / 1024, settled.resident / 1024, heapGrown, residentGrown);
    EXPECT_LE(heapGrown, kAllowedHeapGrowth);
    EXPECT_LE(residentGrown, kAllowedResidentGrowth);
}

// Leaves the title screen the way a player does.
Model* startOnTheMap() {
    Model* model = startSoakGame(kSeed);
    onKeyboard(' ', 0, 0);
    playFrame(1);
    return model;
}

// The units a side has in the lane its cursor is on.
int unitsUnderCursor(const Battle* battle, bool attackerSide) {
    const Lane* lane = battle->lanes[attackerSide ? battle->attackerLane : battle->defenderLane];
    return attackerSide ? lane->attackerCount : lane->defenderCount;
}

// The map played the way the players would, minus attacks: the pointer goes
// from node to node, clicks select ships and send them to nodes their player
// already holds or nobody holds, and turns end. No click lands on an enemy
// ship, so the screen never leaves the map, and no ship is bought: a new ship
// rightly takes new memory, and both measurements are to see the same game.
class MapPlay {
public:
    explicit MapPlay(Model* playedModel) : model(playedModel) {}

    void frame(long index) {
        const Node* aimed = model->nodes[(index * 7) % model->nodeCount];
        const WindowPixel pixel = pixelOnNode(model, aimed);
        onPassiveMotion(pixel.x, pixel.y);
        playFrame(1);
        takeWindowEvents();
        if (index % 3 == 0 && isSafeToClick()) {
            onMouse(0, 0, 0, 0);  // left button pressed
            ++clicks;
        }
        if (index % 97 == 0) {
            onKeyboard(endTurnKey(model), 0, 0);
            ++turnEnds;
        }
    }

    long clicks = 0;
    long turnEnds = 0;

private:
    // The node under the selector holds no enemy ship, and is not an enemy's
    // node that an order could take.
    bool isSafeToClick() const {
        const Node* node = model->nodeMap->findNode(model->selector->gridZ, model->selector->gridX);
        if (node == nullptr) {
            return true;
        }
        const Player* player = model->players[model->currentPlayer];
        const bool enemyShip = node->ship != nullptr && node->ship->owner != player;
        const bool enemyNode = node->owner != nullptr && node->owner != player;
        return !enemyShip && !enemyNode;
    }

    Model* model;
};

TEST(Memory, StaysFlatOverAHundredThousandMapFrames) {
    if (kResidentSizeMeaningless) {
        GTEST_SKIP() << kWhySkipped;
    }
    Model* model = startOnTheMap();
    MapPlay play(model);
    MemoryUse settled;
    for (long frame = 1; frame <= kLongFrames; ++frame) {
        play.frame(frame);
        if (frame == kSettleFrames) {
            settled = memoryUse();
        }
    }
    const MemoryUse last = memoryUse();
    const int screen = model->screen;
    const std::string broken = brokenInvariant(model);
    endSoakGames();

    ASSERT_EQ(screen, MapScreen) << "the play left the map, so not every frame was a map frame";
    EXPECT_EQ(broken, "");
    EXPECT_GT(play.clicks, kLongFrames / 10);
    expectFlat(settled, last);
}

// One battle kept going: both ships are healed and restocked before every
// step, both cursors sweep over the lanes, and each side sends a unit into the
// lane under its cursor while it has fewer than ten there, so that every lane
// keeps units of both sides meeting, dying and being replaced; one step per
// frame, as in the game. The battle is first played until its lanes are as
// busy as they get: the driver's share of memory rightly grows with the scene.
TEST(Memory, StaysFlatOverAHundredThousandBattleSteps) {
    if (kResidentSizeMeaningless) {
        GTEST_SKIP() << kWhySkipped;
    }
    static constexpr long kBusySteps = 10000;
    static constexpr int kUnitsPerLaneSide = 10;
    static constexpr char kDeployKeys[2][5] = {"asdf", "jkl;"};
    Model* model = startOnTheMap();
    Ship* attacker = model->players[0]->ships[0];
    Ship* defender = model->players[1]->ships[0];
    model->startBattle(attacker, defender);
    ASSERT_EQ(model->screen, BattleScreen);

    long deployed = 0;
    MemoryUse settled;
    const long lastStep = kBusySteps + kLongFrames;
    for (long step = 1; step <= lastStep && model->battle != nullptr; ++step) {
        for (Ship* ship : {attacker, defender}) {
            ship->health = kFullHealth;
            for (int& units : ship->unitStock) {
                units = kStockCap;
            }
        }
        for (int player = 0; player < 2; ++player) {
            if (unitsUnderCursor(model->battle, player == 0) < kUnitsPerLaneSide) {
                onKeyboard(static_cast<unsigned char>(kDeployKeys[player][step % 4]), 0, 0);
            }
        }
        const bool sweepRight = (step / kLaneCount) % 2 == 0;
        onKeyboard(sweepRight ? 'e' : 'w', 0, 0);
        onKeyboard(sweepRight ? 'o' : 'i', 0, 0);
        playFrame(1);  // whose tick applies the keys
        deployed += 2 * kUnitKinds * kStockCap - attacker->totalStock() - defender->totalStock();
        takeWindowEvents();
        if (step == kBusySteps + kSettleFrames) {
            settled = memoryUse();
        }
    }
    const MemoryUse last = memoryUse();
    const bool stillFighting = model->battle != nullptr;
    const long removed = stillFighting ? deployed - unitsInLanes(model->battle) : 0;
    endSoakGames();

    ASSERT_TRUE(stillFighting) << "the battle ended before its last step";
    EXPECT_GT(removed, deployed / 2) << "units were sent out but hardly any were killed";
    expectFlat(settled, last);
}

}  // namespace
