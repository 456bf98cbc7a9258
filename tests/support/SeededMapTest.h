#pragma once
// What the end-to-end tests of the seeded program share: they grow the map the
// program will grow from the same seed, start the program on a virtual screen
// of its own and point at cells of that map. Header-only, since the programs'
// paths and the screenshot folder come from the test executable's build.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/E2eGame.h"
#include "support/E2eMap.h"

// Parts of the screen where the map can be seen: the help lines at the top and
// bottom and the turn panels at the sides are drawn over it.
constexpr ScreenRect kClearOfPanels = shrunkToTestScreen({150, 190, 1130, 890});

inline bool isInside(ScreenPoint point, const ScreenRect& rect) {
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top &&
           point.y < rect.bottom;
}

class SeededMapTest : public ::testing::Test {
protected:
    // The pointer starts in the middle of the screen, as the camera expects
    // before the first motion.
    void startProgram(std::uint32_t seed) {
        ASSERT_TRUE(game.startServer());
        ASSERT_TRUE(game.screen().movePointer(kScreenWidth / 2, kScreenHeight / 2));
        ASSERT_TRUE(game.startProgram(KARVOSSA_BINARY, {"--seed", std::to_string(seed)}));
        ASSERT_TRUE(game.waitForTitle(&window));
    }

    PointerPixel pixelOf(Cell cell) const {
        return pointerPixelFor(map, cell.gridX, cell.gridZ, kScreenWidth, kScreenHeight);
    }

    MapCamera cameraWithPointerOn(Cell cell) const {
        return MapCamera(map, kScreenWidth, kScreenHeight, pixelOf(cell));
    }

    bool selectorLandsOn(Cell cell) const {
        int gridX = 0;
        int gridZ = 0;
        return selectorCellFor(map, pixelOf(cell), kScreenWidth, kScreenHeight, &gridX, &gridZ) &&
               gridX == cell.gridX && gridZ == cell.gridZ;
    }

    // The cell and everything drawn around it lie where the map can be seen,
    // for each pointer position the test uses.
    bool staysInView(Cell cell, const std::vector<Cell>& pointerCells) const {
        constexpr double kReach = 1.4;
        for (const Cell& pointer : pointerCells) {
            const MapCamera camera = cameraWithPointerOn(pointer);
            for (const double dx : {-kReach, kReach}) {
                for (const double dz : {-kReach, kReach}) {
                    if (!isInside(camera.projectOnCell(cell.gridX, cell.gridZ, dx, 0, dz),
                                  kClearOfPanels)) {
                        return false;
                    }
                }
            }
        }
        return true;
    }

    GrownMap map;
    GameOnScreen game{KARVOSSA_ARTEFACTS};
    WindowInfo window;
    Picture picture;  // the last screenshot
};
