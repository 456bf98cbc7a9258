// Plays the seeded program on its own X screen for the README's pictures: the
// title, the map with player 0's ship selected, and a battle with units of both
// sides in the lanes. Both ships step onto nodes that feed them units and wait
// there for some pairs of turns, so that each side has a few units to send.
// Not a ctest: scripts/screenshots.sh runs it with the folder to write
// title.png, map.png and battle.png into.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "battle/Battle.h"
#include "support/BattlePlan.h"
#include "support/E2eGame.h"
#include "support/E2eMap.h"

namespace {

// A seed whose homes lie four nodes apart in the middle of a compact map.
constexpr std::uint32_t kSeed = 165;
constexpr int kWaitingPairs = 4;  // pairs of turns both ships stand and collect
// Units walk a fixed distance per frame, and frames come slower on a busy
// machine: the picture waits for player 0's units to be some way up the field.
constexpr double kWalkedRow = 660;  // from the bases' row near 780
constexpr Millis kWalkLimit{30000};

std::string outputFolder = ".";

// The first plan in slot order in which both sides get units, else the first
// in which player 0's does.
std::optional<BattlePlan> planTour(const GrownMap& map) {
    const std::vector<BattlePlan> plans = playablePlans(map, kSeed, kWaitingPairs);
    const auto bothStocked = std::find_if(plans.begin(), plans.end(),
                                          [](const BattlePlan& plan) { return plan.stock1 > 0; });
    if (bothStocked != plans.end()) {
        return *bothStocked;
    }
    return plans.empty() ? std::nullopt : std::optional<BattlePlan>(plans.front());
}

class ScreenshotTour : public ::testing::Test {
protected:
    PointerPixel pixelOf(Cell cell) const {
        return pointerPixelFor(map, cell.gridX, cell.gridZ, kScreenWidth, kScreenHeight);
    }

    // As seen while the pointer rests on the cell, which sways the camera.
    int countOnCell(const Picture& p, Cell cell, double y, double reach,
                    bool (*test)(Pixel)) const {
        const MapCamera camera(map, kScreenWidth, kScreenHeight, pixelOf(cell));
        return ::countOnCell(p, camera, cell, y, reach, test);
    }

    // A click acts on the cell under the selector of the last frame drawn, so
    // it waits for a frame showing the pointer mark over the cell.
    void clickOnCell(Cell cell, const std::string& step) {
        ASSERT_TRUE(game.screen().movePointer(pixelOf(cell).x, pixelOf(cell).y));
        ASSERT_TRUE(game.snapUntil(
            step,
            [&](const Picture& p) { return countOnCell(p, cell, 0.4, 0.15, isPointerMark) >= 4; },
            kFrameLimit, &picture));
        ASSERT_TRUE(game.screen().clickLeft());
    }

    // The end of a turn takes effect in the next frame; a second key before it
    // would find the other player still on turn and be ignored.
    void endTurnWith(const std::string& key, int nextPlayer) {
        ASSERT_TRUE(game.screen().pressKey(key));
        ASSERT_TRUE(game.snapUntil(
            "turn-to-player-" + std::to_string(nextPlayer),
            [&](const Picture& p) { return showsTurnOf(p, nextPlayer); }, kFrameLimit, &picture));
    }

    void save(const Picture& p, const std::string& name) {
        ASSERT_TRUE(p.savePng(outputFolder + "/" + name)) << "cannot write " << name;
    }

    GrownMap map = growMap(kSeed);
    GameOnScreen game{outputFolder + "/steps"};
    Picture picture;
};

TEST_F(ScreenshotTour, TitleMapAndBattle) {
    const std::optional<BattlePlan> found = planTour(map);
    ASSERT_TRUE(found.has_value()) << "seed " << kSeed << " offers no tour";
    const BattlePlan tour = *found;
    std::printf("units in stock: player 0 %d, player 1 %d\n", tour.stock0, tour.stock1);
    ASSERT_TRUE(game.startServer());
    ASSERT_TRUE(game.screen().movePointer(kScreenWidth / 2, kScreenHeight / 2));
    ASSERT_TRUE(game.startProgram(KARVOSSA_BINARY, {"--seed", std::to_string(kSeed)}));
    WindowInfo window;
    ASSERT_TRUE(game.waitForTitle(&window));
    ASSERT_NO_FATAL_FAILURE(save(game.snap("title"), "title.png"));

    ASSERT_TRUE(game.screen().pressKey("x"));
    ASSERT_NO_FATAL_FAILURE(clickOnCell(tour.home0, "pointer-on-player-0-ship"));
    const int unlit = countOnCell(picture, tour.home0, 0, 0.8, isWhite);
    ASSERT_TRUE(game.snapUntil(
        "player-0-ship-selected",
        [&](const Picture& p) {
            return countOnCell(p, tour.home0, 0, 0.8, isWhite) >= unlit + 300;
        },
        kFrameLimit, &picture));
    ASSERT_NO_FATAL_FAILURE(save(picture, "map.png"));

    ASSERT_NO_FATAL_FAILURE(clickOnCell(tour.wait0, "pointer-on-waiting-node"));
    ASSERT_NO_FATAL_FAILURE(endTurnWith("q", 1));
    ASSERT_NO_FATAL_FAILURE(clickOnCell(tour.home1, "pointer-on-player-1-ship"));
    ASSERT_NO_FATAL_FAILURE(clickOnCell(tour.meet1, "pointer-on-meeting-node"));
    for (int pair = 0; pair <= kWaitingPairs; ++pair) {
        ASSERT_NO_FATAL_FAILURE(endTurnWith("p", 0));
        if (pair < kWaitingPairs) {
            ASSERT_NO_FATAL_FAILURE(endTurnWith("q", 1));
        }
    }

    ASSERT_NO_FATAL_FAILURE(clickOnCell(tour.wait0, "pointer-on-attacking-ship"));
    ASSERT_NO_FATAL_FAILURE(clickOnCell(tour.meet1, "pointer-on-defending-ship"));
    ASSERT_TRUE(game.snapUntil(
        "battle", [](const Picture& p) { return p.count(p.whole(), isLane) >= 20000; }, kFrameLimit,
        &picture));

    // Every unit in stock goes out, one of each kind per lane, the cursors
    // stepping one lane on after each round; keys for kinds without stock do
    // nothing.
    for (int lane = 0; lane < kLaneCount; ++lane) {
        for (const char* key : {"a", "s", "d", "f", "j", "k", "l", "semicolon"}) {
            ASSERT_TRUE(game.screen().pressKey(key));
        }
        ASSERT_TRUE(game.screen().pressKey("e"));
        ASSERT_TRUE(game.screen().pressKey("i"));
    }
    ASSERT_TRUE(game.snapUntil(
        "units-out",
        [&](const Picture& p) {
            return p.count(p.whole(), isPlayer0Unit) >= 30 &&
                   (tour.stock1 == 0 || p.count(p.whole(), isPlayer1Unit) >= 30);
        },
        kFrameLimit, &picture));
    ASSERT_TRUE(game.snapUntil(
        "units-walked",
        [](const Picture& p) { return meanRow(p, p.whole(), isPlayer0Unit) <= kWalkedRow; },
        kWalkLimit, &picture));
    ASSERT_NO_FATAL_FAILURE(save(picture, "battle.png"));
    EXPECT_TRUE(game.exitsWithZeroOn("Escape"));
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc > 1) {
        outputFolder = argv[1];
    }
    return RUN_ALL_TESTS();
}
