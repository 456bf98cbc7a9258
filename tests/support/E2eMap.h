#pragma once
// What an end-to-end test knows about the map the seeded program is playing
// on: the same map grown here with the game's own code from the same seed, and
// the map camera, to tell where a cell lies on the screen and which pixel to
// point at to put the selector on it.
#include <array>
#include <cstdint>
#include <vector>

#include "support/CellPointer.h"

struct MapNode {
    int gridX = 0;
    int gridZ = 0;
    int kind = 0;    // NodeKind
    int owner = -1;  // player index, -1 for none
    bool hasShip = false;
    std::array<int, 6> neighbors{};  // node indices by slot, -1 for an empty slot
};

struct GrownMap {
    float viewHeight = 0;
    float mapCenterX = 0;
    float mapCenterZ = 0;
    std::vector<MapNode> nodes;  // in creation order: node i is player i's home

    int nodeAt(int gridX, int gridZ) const;  // index, or -1 when no node stands there
    MapView view() const { return {viewHeight, mapCenterX, mapCenterZ}; }
};

// A cell of the map grid, as the screen tests name nodes and pointer targets.
struct Cell {
    int gridX, gridZ;
};

bool operator==(const Cell& a, const Cell& b);

// The map of buildWorld(seed) (support/World.h), copied out; leaves no Model
// behind.
GrownMap growMap(std::uint32_t seed);

struct ScreenPoint {
    double x, y;  // pixels, (0, 0) at the top-left corner
};

using PointerPixel = WindowPixel;

// The pixel that puts the selector on the cell, aimed at the cell's centre.
PointerPixel pointerPixelFor(const GrownMap& map, int gridX, int gridZ, int width, int height);

// The cell the selector moves to for a pointer at this pixel; false when the
// rounded coordinates have an odd sum and the selector stays where it was.
bool selectorCellFor(const GrownMap& map, PointerPixel pointer, int width, int height, int* gridX,
                     int* gridZ);

// The map screen's camera for a window of width x height with the pointer at
// the given pixel (the camera sways with the pointer).
class MapCamera {
public:
    MapCamera(const GrownMap& map, int width, int height, PointerPixel pointer);

    ScreenPoint project(double x, double y, double z) const;  // a world point
    // A point given relative to the centre of cell (gridX, gridZ).
    ScreenPoint projectOnCell(int gridX, int gridZ, double dx, double y, double dz) const;

private:
    std::array<double, 3> eye_{};
    std::array<double, 3> side_{};     // camera x axis in the world
    std::array<double, 3> up_{};       // camera y axis in the world
    std::array<double, 3> forward_{};  // direction of view
    double focalX_ = 0;
    double focalY_ = 0;
    int width_ = 0;
    int height_ = 0;
};
