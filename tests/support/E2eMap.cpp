#include "support/E2eMap.h"

#include <cmath>

#include "game/Model.h"
#include "game/Node.h"
#include "support/World.h"

namespace {

constexpr double kSwayReach = 10;    // how far the pointer moves the map eye
constexpr double kFieldOfView = 60;  // degrees, vertical
constexpr double kDegrees = 3.14159265358979323846 / 180;

using Vector = std::array<double, 3>;

Vector minus(const Vector& a, const Vector& b) {
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}

double dot(const Vector& a, const Vector& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

Vector cross(const Vector& a, const Vector& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

Vector normalised(const Vector& v) {
    const double length = std::sqrt(dot(v, v));
    return {v[0] / length, v[1] / length, v[2] / length};
}

MapNode copyNode(const Node* node, const Model* model) {
    MapNode copy;
    copy.gridX = node->gridX;
    copy.gridZ = node->gridZ;
    copy.kind = node->kind;
    for (int p = 0; p < model->playerCount; ++p) {
        if (node->owner == model->players[p]) {
            copy.owner = p;
        }
    }
    copy.hasShip = node->ship != nullptr;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        copy.neighbors[slot] = -1;
        for (int i = 0; i < model->nodeCount; ++i) {
            if (node->neighbors[slot] == model->nodes[i]) {
                copy.neighbors[slot] = i;
            }
        }
    }
    return copy;
}

}  // namespace

int GrownMap::nodeAt(int gridX, int gridZ) const {
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        if (nodes[i].gridX == gridX && nodes[i].gridZ == gridZ) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

GrownMap growMap(std::uint32_t seed) {
    const Model* model = buildWorld(seed);
    GrownMap map;
    map.viewHeight = model->viewHeight;
    map.mapCenterX = model->mapCenterX;
    map.mapCenterZ = model->mapCenterZ;
    for (int i = 0; i < model->nodeCount; ++i) {
        map.nodes.push_back(copyNode(model->nodes[i], model));
    }
    Model::resetSelf();
    return map;
}

PointerPixel pointerPixelFor(const GrownMap& map, int gridX, int gridZ, int width, int height) {
    return pixelOnCell(map.view(), gridX, gridZ, width, height);
}

bool selectorCellFor(const GrownMap& map, PointerPixel pointer, int width, int height, int* gridX,
                     int* gridZ) {
    const PointerAim aim = pointerAtPixel(pointer, width, height);
    const float pointerGridX = map.mapCenterX - map.viewHeight * aim.pointerX * 0.5f;
    const float pointerGridZ = map.mapCenterZ + map.viewHeight * aim.pointerY * 0.5f;
    const int cx = static_cast<int>(std::floor(pointerGridX + 0.5f));
    const int cz = static_cast<int>(std::floor(pointerGridZ + 0.5f));
    if ((cx + cz) % 2 != 0) {
        return false;
    }
    *gridX = cx;
    *gridZ = cz;
    return true;
}

MapCamera::MapCamera(const GrownMap& map, int width, int height, PointerPixel pointer)
    : width_(width), height_(height) {
    const PointerAim aim = pointerAtPixel(pointer, width, height);
    const double pointerX = aim.pointerX;
    const double pointerY = aim.pointerY;
    // The map camera looks at the map's centre, kept in grid units, in the world.
    const Vector centre = {map.mapCenterX * kCellWidth, 0, map.mapCenterZ * kCellDepth};
    eye_ = {centre[0] - kSwayReach * pointerX, map.viewHeight, centre[2] + kSwayReach * pointerY};
    const Vector upHint = {0, 0, -1};
    forward_ = normalised(minus(centre, eye_));
    side_ = normalised(cross(forward_, upHint));
    up_ = cross(side_, forward_);
    focalY_ = 1 / std::tan(kFieldOfView / 2 * kDegrees);
    focalX_ = focalY_ / (static_cast<double>(width) / height);
}

ScreenPoint MapCamera::project(double x, double y, double z) const {
    const Vector offset = minus({x, y, z}, eye_);
    const double depth = dot(offset, forward_);
    const double ndcX = focalX_ * dot(offset, side_) / depth;
    const double ndcY = focalY_ * dot(offset, up_) / depth;
    return {(ndcX + 1) / 2 * width_, (1 - ndcY) / 2 * height_};
}

ScreenPoint MapCamera::projectOnCell(int gridX, int gridZ, double dx, double y, double dz) const {
    return project(gridX * kCellWidth + dx, y, gridZ * kCellDepth + dz);
}

bool operator==(const Cell& a, const Cell& b) {
    return a.gridX == b.gridX && a.gridZ == b.gridZ;
}
