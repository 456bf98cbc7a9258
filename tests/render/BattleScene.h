#pragma once
// What the battle's drawing tests share: an oblique orthographic view whose
// feedback maps back to world polygons, the tests that tell lanes, bases,
// units and bars apart, and a world of two players whose home ships meet.
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <utility>
#include <vector>

#include "battle/Battle.h"
#include "battle/Lane.h"
#include "battle/Unit.h"
#include "game/Model.h"
#include "game/Player.h"
#include "game/Ship.h"
#include "render/FeedbackCapture.h"
#include "support/GlContext.h"
#include "support/World.h"

namespace battlescene {

using glfeedback::Capture;
using glfeedback::Kind;
using glfeedback::Point3;

inline constexpr float kLaneColour[3] = {0.9f, 0.5f, 0.3f};
inline constexpr float kCursorColour[3] = {0.5f, 0.5f, 1};

// An orthographic view from above and to the side: no surface of the battle
// is seen edge-on, and every feedback vertex maps back to the world exactly.
inline void setObliqueView() {
    resetFrame();
    glMatrixMode(GL_PROJECTION);
    glOrtho(-9000, 9000, -9000, 9000, -20000, 20000);
    glMatrixMode(GL_MODELVIEW);
    gluLookAt(2, 5, 4, 0, 0, 0, 0, 1, 0);
}

// A polygon as it stands in the world.
struct WorldPolygon {
    std::vector<Point3> corners;
    std::vector<glfeedback::Vertex> window;  // same order, with colours

    double min(int axis) const {
        double m = corners[0][axis];
        for (const Point3& p : corners) {
            m = std::min(m, p[axis]);
        }
        return m;
    }
    double max(int axis) const {
        double m = corners[0][axis];
        for (const Point3& p : corners) {
            m = std::max(m, p[axis]);
        }
        return m;
    }
    double centre(int axis) const {
        double sum = 0;
        for (const Point3& p : corners) {
            sum += p[axis];
        }
        return sum / corners.size();
    }
    bool hasColour(const float* c) const {
        return std::any_of(window.begin(), window.end(), [c](const glfeedback::Vertex& v) {
            return glfeedback::sameColour(v, c[0], c[1], c[2]);
        });
    }
};

inline constexpr int X = 0;
inline constexpr int Y = 1;
inline constexpr int Z = 2;

// Lit surfaces are compared by their strongest channel; a specular colour
// left behind by earlier drawing must not blur that.
inline void clearSpecular() {
    const GLfloat none[4] = {0, 0, 0, 1};
    glMaterialfv(GL_FRONT, GL_SPECULAR, none);
}

template <typename Draw>
inline std::vector<WorldPolygon> drawnPolygons(Draw draw) {
    setObliqueView();
    clearSpecular();
    const Capture capture = glfeedback::capture(draw);
    std::vector<WorldPolygon> polygons;
    for (const auto& primitive : capture.primitives) {
        if (primitive.kind != Kind::Polygon) {
            continue;
        }
        WorldPolygon polygon;
        for (const auto& v : primitive.vertices) {
            polygon.corners.push_back(capture.unproject(v));
            polygon.window.push_back(v);
        }
        polygons.push_back(polygon);
    }
    return polygons;
}

inline bool near(double a, double b) {
    return std::fabs(a - b) < 0.5;
}

// Lanes and bases lie flat at y = -100; a base spans all five lanes.
inline bool isLanePiece(const WorldPolygon& p) {
    return near(p.min(Y), -100) && near(p.max(Y), -100) && p.max(X) - p.min(X) <= 1000.5;
}
inline bool isBase(const WorldPolygon& p) {
    return near(p.min(Y), -100) && near(p.max(Y), -100) && p.max(X) - p.min(X) > 4000;
}
// A unit's faces reach from its base corners at -100 to its apex at 100.
inline bool isUnitFace(const WorldPolygon& p) {
    return near(p.min(Y), -100) && near(p.max(Y), 100);
}
inline bool isUnitBar(const WorldPolygon& p) {
    return p.min(Y) > 99.5 && p.max(Y) < 150.5;
}
inline bool isShipBar(const WorldPolygon& p) {
    return near(p.min(Y), 500) && near(p.max(Y), 500);
}

struct Extent {
    double minX, maxX, minZ, maxZ;
};

// The union of the polygons that pass the test, over x and z.
template <typename Test>
inline Extent extentOf(const std::vector<WorldPolygon>& polygons, Test test) {
    Extent e{1e9, -1e9, 1e9, -1e9};
    for (const WorldPolygon& p : polygons) {
        if (test(p)) {
            e = {std::min(e.minX, p.min(X)), std::max(e.maxX, p.max(X)), std::min(e.minZ, p.min(Z)),
                 std::max(e.maxZ, p.max(Z))};
        }
    }
    return e;
}

using LaneHalf = std::pair<int, bool>;  // lane index, attacking half

inline LaneHalf laneHalfOf(const WorldPolygon& p) {
    const int lane = static_cast<int>(std::floor((p.centre(X) + 2500) / 1000));
    return {lane, p.centre(Z) > 0};
}

class BattleDrawingTest : public ::testing::Test {
protected:
    void SetUp() override { buildWorld(1, kWorldNodes, kPlayersPart); }

    void TearDown() override {
        Model::resetSelf();
        resetFrame();
    }

    static Ship* homeShip(int playerIndex) {
        return Model::getSelf()->players[playerIndex]->ships[0];
    }

    static Battle* startBattle(int attackingPlayer) {
        Model* model = Model::getSelf();
        model->startBattle(homeShip(attackingPlayer), homeShip(1 - attackingPlayer));
        return model->battle;
    }

    // The lane halves drawn with the cursor shading.
    static std::set<LaneHalf> highlightedHalves(Battle* battle) {
        std::set<LaneHalf> halves;
        for (const WorldPolygon& p : drawnPolygons([battle] { battle->draw(); })) {
            if (isLanePiece(p) && p.hasColour(kCursorColour)) {
                halves.insert(laneHalfOf(p));
            }
        }
        return halves;
    }

    // A unit of the kind sent by the ship into its side's cursor lane, moved on.
    static Unit* deployAt(Battle* battle, Ship* ship, int kind, int position) {
        ship->unitStock[kind] = 1;
        battle->deploy(ship, kind);
        const bool attackerSide = ship == battle->attacker;
        Lane* lane = battle->lanes[attackerSide ? battle->attackerLane : battle->defenderLane];
        Unit* unit = attackerSide ? lane->attackerUnits[lane->attackerCount - 1]
                                  : lane->defenderUnits[lane->defenderCount - 1];
        unit->position = position;
        return unit;
    }
};

}  // namespace battlescene
