#include "support/E2eBattleField.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kFieldHalfWidth = 2500;
constexpr double kLaneWidth = 1000;
constexpr double kGroundY = -100;
constexpr double kUnitTop = 150;  // the apex, with the health bar above it
constexpr double kHealthBarY = 500;
constexpr double kHealthBarHalfDepth = 100;

ScreenPoint projectOnField(double x, double y, double z) {
    constexpr double kEyeY = 5000;
    constexpr double kEyeZ = 10000;
    constexpr double kFieldOfView = 60 * 3.14159265358979323846 / 180;
    // Looking from the eye towards the origin: forward is (0, -1, -2) / sqrt 5,
    // the camera's x axis is the world's, and its up (0, 2, -1) / sqrt 5.
    const double root5 = std::sqrt(5.0);
    const double dy = y - kEyeY;
    const double dz = z - kEyeZ;
    const double depth = (-dy - 2 * dz) / root5;
    const double up = (2 * dy - dz) / root5;
    const double focalY = 1 / std::tan(kFieldOfView / 2);
    const double focalX = focalY * kScreenHeight / kScreenWidth;
    return {(focalX * x / depth + 1) / 2 * kScreenWidth,
            (1 - focalY * up / depth) / 2 * kScreenHeight};
}

// The screen rectangle around a box of the field.
ScreenRect boxOnScreen(double left, double right, double low, double high, double near,
                       double far) {
    double minX = kScreenWidth;
    double maxX = 0;
    double minY = kScreenHeight;
    double maxY = 0;
    for (const double x : {left, right}) {
        for (const double y : {low, high}) {
            for (const double z : {near, far}) {
                const ScreenPoint point = projectOnField(x, y, z);
                minX = std::min(minX, point.x);
                maxX = std::max(maxX, point.x);
                minY = std::min(minY, point.y);
                maxY = std::max(maxY, point.y);
            }
        }
    }
    return {static_cast<int>(minX), static_cast<int>(minY), static_cast<int>(maxX) + 1,
            static_cast<int>(maxY) + 1};
}

}  // namespace

ScreenRect fieldBox() {
    return boxOnScreen(-kFieldHalfWidth, kFieldHalfWidth, kGroundY, kGroundY, kAttackerBaseZ,
                       kDefenderBaseZ);
}

int countOnField(const Picture& picture, const std::function<bool(Pixel)>& test) {
    const ScreenPoint nearLeft = projectOnField(-kFieldHalfWidth, kGroundY, kAttackerBaseZ);
    const ScreenPoint farLeft = projectOnField(-kFieldHalfWidth, kGroundY, kDefenderBaseZ);
    int found = 0;
    for (int y = static_cast<int>(std::ceil(farLeft.y)); y <= nearLeft.y; ++y) {
        const double along = (y - farLeft.y) / (nearLeft.y - farLeft.y);
        const double left = farLeft.x + along * (nearLeft.x - farLeft.x);
        for (int x = static_cast<int>(std::ceil(left)); x <= kScreenWidth - left; ++x) {
            found += test(picture.at(x, y)) ? 1 : 0;
        }
    }
    return found;
}

ScreenRect attackerHalfOfLane0() {
    return boxOnScreen(-kFieldHalfWidth, -kFieldHalfWidth + kLaneWidth, kGroundY, kUnitTop,
                       kAttackerBaseZ + kLaneWidth / 2, 0);
}

ScreenRect healthBarBox(double baseZ) {
    return boxOnScreen(-kFieldHalfWidth, kFieldHalfWidth, kHealthBarY, kHealthBarY,
                       baseZ - kHealthBarHalfDepth, baseZ + kHealthBarHalfDepth);
}
