// The seeded program played through player 0's first turn, the way a person
// would: the selector follows the pointer, a click on the home ship and one on a
// free neighbouring node move the ship there and give the node to player 0, and
// "q" hands the turn to player 1. The test grows the same map from the same
// seed to know where to point and where to look.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "support/BattlePlan.h"
#include "support/E2eGame.h"
#include "support/E2eMap.h"
#include "support/SeededMapTest.h"

namespace {

// Any seed whose map leaves room for the plan below will do; with this one the
// map is small enough to be drawn large.
constexpr std::uint32_t kSeed = 6;

constexpr int kKindWithWhiteMark = 2;  // lit, its mark looks like an owner cap

// The cells the test points at, chosen from the grown map.
struct FirstMovePlan {
    Cell home;         // player 0's home node, holding its first ship
    Cell target;       // a neighbour of home without a ship
    Cell firstEmpty;   // two cells where no node stands, so the selector ring
    Cell secondEmpty;  // shows whole there
};

// Player 0's owner cap, pink (1, 0.6, 0.6); a lit white mark would pass too.
bool isOwnerCap(Pixel p) {
    return p.r >= 230 && p.g >= 130 && p.b >= 130 && p.r >= p.b;
}
// The grey of a tile that is not selected; a selected one is lit to white.
bool isPlainTile(Pixel p) {
    return p.r >= 120 && p.r <= 200 && std::abs(p.r - p.g) <= 6 && std::abs(p.r - p.b) <= 6;
}
// Player 0's dark colour as lit: the move arrow and the home rim.
bool isPlayer0Dark(Pixel p) {
    return p.r >= 200 && p.g >= 70 && p.g <= 140 && p.b >= 70 && p.b <= 140 &&
           std::abs(p.g - p.b) <= 20;
}

class SeededFirstTurn : public SeededMapTest {
protected:
    void SetUp() override {
        map = growMap(kSeed);
        const std::optional<FirstMovePlan> found = planFirstMove();
        ASSERT_TRUE(found.has_value()) << "seed " << kSeed << " leaves no room for the test";
        plan = *found;
        startProgram(kSeed);
    }

    std::optional<FirstMovePlan> planFirstMove() const;

    // Points at the cell and waits for a frame drawn with the pointer there.
    void pointAt(Cell cell, const std::string& step,
                 const std::function<bool(const Picture&)>& drawnThere) {
        ASSERT_TRUE(game.screen().movePointer(pixelOf(cell).x, pixelOf(cell).y));
        ASSERT_TRUE(game.snapUntil(step, drawnThere, kFrameLimit, &picture));
    }

    FirstMovePlan plan{};
};

std::optional<FirstMovePlan> SeededFirstTurn::planFirstMove() const {
    const MapNode& home = map.nodes[0];
    FirstMovePlan found{};
    found.home = {home.gridX, home.gridZ};
    std::optional<Cell> target;
    for (const int neighbor : home.neighbors) {
        if (neighbor >= 0 && !map.nodes[neighbor].hasShip &&
            map.nodes[neighbor].kind != kKindWithWhiteMark) {
            target = Cell{map.nodes[neighbor].gridX, map.nodes[neighbor].gridZ};
            break;
        }
    }
    if (!target) {
        return std::nullopt;
    }
    found.target = *target;

    // Empty cells near the home, nearest first, that stay in view. The
    // selector starts on the origin cell, so a ring there would prove nothing.
    std::vector<Cell> empties;
    for (int gridZ = home.gridZ - 8; gridZ <= home.gridZ + 8; ++gridZ) {
        for (int gridX = home.gridX - 8; gridX <= home.gridX + 8; ++gridX) {
            const bool origin = gridX == 0 && gridZ == 0;
            if ((gridX + gridZ) % 2 == 0 && !origin && map.nodeAt(gridX, gridZ) < 0) {
                empties.push_back({gridX, gridZ});
            }
        }
    }
    auto distance = [&](const Cell& c) {
        return std::hypot((c.gridX - home.gridX) * 1.6, (c.gridZ - home.gridZ) * 1.3);
    };
    std::sort(empties.begin(), empties.end(),
              [&](const Cell& a, const Cell& b) { return distance(a) < distance(b); });
    std::vector<Cell> chosen;
    for (const Cell& empty : empties) {
        if (distance(empty) > 3.0 && chosen.size() < 2) {
            chosen.push_back(empty);
        }
    }
    if (chosen.size() < 2) {
        return std::nullopt;
    }
    found.firstEmpty = chosen[0];
    found.secondEmpty = chosen[1];
    const std::vector<Cell> used = {found.home, found.target, found.firstEmpty, found.secondEmpty};
    for (const Cell& cell : used) {
        if (!selectorLandsOn(cell) || !staysInView(cell, used)) {
            return std::nullopt;
        }
    }
    return found;
}

// Samples around a cell, projected with the camera of the moment.
class CellView {
public:
    CellView(const Picture& picture, const MapCamera& camera, Cell cell)
        : picture_(picture), camera_(camera), cell_(cell) {}

    Pixel at(double dx, double y, double dz) const {
        return pixelAt(picture_, camera_.projectOnCell(cell_.gridX, cell_.gridZ, dx, y, dz));
    }

    // Pixels within radius (world units) of the cell centre at height y.
    int countWithin(double radius, double y, const std::function<bool(Pixel)>& test) const {
        const ScreenPoint centre = camera_.projectOnCell(cell_.gridX, cell_.gridZ, 0, y, 0);
        const ScreenPoint edge = camera_.projectOnCell(cell_.gridX, cell_.gridZ, radius, y, 0);
        const double pixels = std::hypot(edge.x - centre.x, edge.y - centre.y);
        const ScreenRect box{
            static_cast<int>(centre.x - pixels), static_cast<int>(centre.y - pixels),
            static_cast<int>(centre.x + pixels) + 1, static_cast<int>(centre.y + pixels) + 1};
        int found = 0;
        for (int y0 = box.top; y0 < box.bottom; ++y0) {
            for (int x0 = box.left; x0 < box.right; ++x0) {
                if (std::hypot(x0 - centre.x, y0 - centre.y) <= pixels &&
                    picture_.contains(x0, y0) && test(picture_.at(x0, y0))) {
                    ++found;
                }
            }
        }
        return found;
    }

    // The selector ring lies under the tiles, so on a cell without a node it
    // shows whole; sampled halfway out, clear of the pointer mark in the middle.
    int ringSamples(const std::function<bool(Pixel)>& test) const {
        constexpr double kHalfway = 0.55;
        constexpr double kRingHeight = -0.1;
        int found = 0;
        for (int corner = 0; corner < 6; ++corner) {
            const double angle = (30 + 60 * corner) * 3.14159265358979 / 180;
            found += test(at(kHalfway * std::cos(angle), kRingHeight, kHalfway * std::sin(angle)))
                         ? 1
                         : 0;
        }
        return found;
    }
    bool showsRing() const { return ringSamples(isWhite) == 6; }
    bool showsNothing() const { return ringSamples(isBlack) == 6; }

    bool showsShip() const { return ::showsShip(picture_, camera_, cell_); }

    int ownerCapPixels() const { return countWithin(0.72, 0.1, isOwnerCap); }
    int whitePixels() const { return countWithin(1.0, 0, isWhite); }
    int plainTilePixels() const { return countWithin(0.95, 0, isPlainTile); }

private:
    const Picture& picture_;
    const MapCamera& camera_;
    Cell cell_;
};

// The move arrow runs from the selected ship's node to the selector's cell,
// above the tiles; sampled on the stretch over the far node's tile.
bool showsMoveArrow(const Picture& picture, const MapCamera& camera, Cell from, Cell to) {
    constexpr double kArrowHeight = 0.2;
    for (const double along : {0.65, 0.72, 0.8}) {
        const double x = (from.gridX + (to.gridX - from.gridX) * along) * 1.6;
        const double z = (from.gridZ + (to.gridZ - from.gridZ) * along) * 1.3;
        if (!isPlayer0Dark(pixelAt(picture, camera.project(x, kArrowHeight, z)))) {
            return false;
        }
    }
    return true;
}

// End-turn line pixels that were in player 0's colour before and are in player
// 1's now, and the other way round.
int turnedBluish(const Picture& before, const Picture& after) {
    int turned = 0;
    for (int y = kEndTurnLine.top; y < kEndTurnLine.bottom; ++y) {
        for (int x = kEndTurnLine.left; x < kEndTurnLine.right; ++x) {
            turned += isReddish(before.at(x, y)) && isBluish(after.at(x, y)) ? 1 : 0;
        }
    }
    return turned;
}

TEST_F(SeededFirstTurn, ShipMovesOntoAFreeNeighbourAndQHandsTheTurnToPlayer1) {
    ASSERT_TRUE(game.screen().pressKey("x"));
    ASSERT_TRUE(game.snapUntil(
        "map", [](const Picture& p) { return p.count(p.whole(), isTitleBoard) == 0; }, kFrameLimit,
        &picture));

    // The selector follows the pointer from cell to cell.
    const MapCamera onFirstEmpty = cameraWithPointerOn(plan.firstEmpty);
    ASSERT_NO_FATAL_FAILURE(pointAt(
        plan.firstEmpty, "selector-on-first-empty-cell",
        [&](const Picture& p) { return CellView(p, onFirstEmpty, plan.firstEmpty).showsRing(); }));
    const MapCamera onSecondEmpty = cameraWithPointerOn(plan.secondEmpty);
    ASSERT_NO_FATAL_FAILURE(
        pointAt(plan.secondEmpty, "selector-on-second-empty-cell", [&](const Picture& p) {
            return CellView(p, onSecondEmpty, plan.secondEmpty).showsRing() &&
                   CellView(p, onSecondEmpty, plan.firstEmpty).showsNothing();
        }));

    // A click on the home ship selects it: its node's tile lights up.
    const Picture beforeHome = picture;
    const MapCamera onHome = cameraWithPointerOn(plan.home);
    ASSERT_NO_FATAL_FAILURE(pointAt(plan.home, "pointer-on-home-ship", [&](const Picture& p) {
        return countDifferences(p, beforeHome, kStillPart) > 0;
    }));
    const int unselectedWhite = CellView(picture, onHome, plan.home).whitePixels();
    ASSERT_TRUE(CellView(picture, onHome, plan.home).showsShip());
    ASSERT_TRUE(game.screen().clickLeft());
    ASSERT_TRUE(game.snapUntil(
        "home-ship-selected",
        [&](const Picture& p) {
            return CellView(p, onHome, plan.home).whitePixels() >= unselectedWhite + 400;
        },
        kFrameLimit, &picture));

    // Pointing at the free neighbour draws the move arrow towards it.
    const MapCamera onTarget = cameraWithPointerOn(plan.target);
    ASSERT_NO_FATAL_FAILURE(pointAt(plan.target, "move-arrow-to-neighbour", [&](const Picture& p) {
        return showsMoveArrow(p, onTarget, plan.home, plan.target);
    }));
    EXPECT_LE(CellView(picture, onTarget, plan.target).ownerCapPixels(), 10)
        << "the neighbour is owned before the move";
    EXPECT_FALSE(CellView(picture, onTarget, plan.target).showsShip());

    // The order: the ship steps onto the neighbour at once.
    ASSERT_TRUE(game.screen().clickLeft());
    ASSERT_TRUE(game.snapUntil(
        "ship-moved",
        [&](const Picture& p) {
            return CellView(p, onTarget, plan.target).showsShip() &&
                   !CellView(p, onTarget, plan.home).showsShip();
        },
        kFrameLimit, &picture));

    // The ordered-to node stays selected and lit; a click where no node stands
    // lets it go, and its owner cap shows on the plain tile.
    ASSERT_NO_FATAL_FAILURE(pointAt(
        plan.firstEmpty, "selector-beside-the-map",
        [&](const Picture& p) { return CellView(p, onFirstEmpty, plan.firstEmpty).showsRing(); }));
    ASSERT_TRUE(game.screen().clickLeft());
    ASSERT_TRUE(game.snapUntil(
        "neighbour-deselected-and-owned",
        [&](const Picture& p) {
            const CellView target(p, onFirstEmpty, plan.target);
            return target.plainTilePixels() >= 300 && target.ownerCapPixels() >= 80;
        },
        kFrameLimit, &picture))
        << CellView(picture, onFirstEmpty, plan.target).plainTilePixels() << " tile and "
        << CellView(picture, onFirstEmpty, plan.target).ownerCapPixels() << " cap pixels";
    EXPECT_TRUE(CellView(picture, onFirstEmpty, plan.target).showsShip());

    // "q" ends player 0's turn: the end-turn line takes player 1's colour.
    const Picture beforeQ = picture;
    ASSERT_TRUE(game.screen().pressKey("q"));
    EXPECT_TRUE(game.snapUntil(
        "turn-passed-to-player-1",
        [&](const Picture& p) {
            return turnedBluish(beforeQ, p) >= 100 && turnedBluish(p, beforeQ) <= 10;
        },
        kFrameLimit, &picture))
        << turnedBluish(beforeQ, picture) << " line pixels turned from red to blue";

    EXPECT_TRUE(game.exitsWithZeroOn("Escape"));
}

}  // namespace
