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

namespace {

using glfeedback::Capture;
using glfeedback::Kind;
using glfeedback::Point3;

constexpr float kLaneColour[3] = {0.9f, 0.5f, 0.3f};
constexpr float kCursorColour[3] = {0.5f, 0.5f, 1};

// An orthographic view from above and to the side: no surface of the battle
// is seen edge-on, and every feedback vertex maps back to the world exactly.
void setObliqueView() {
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

constexpr int X = 0;
constexpr int Y = 1;
constexpr int Z = 2;

// Lit surfaces are compared by their strongest channel; a specular colour
// left behind by earlier drawing must not blur that.
void clearSpecular() {
    const GLfloat none[4] = {0, 0, 0, 1};
    glMaterialfv(GL_FRONT, GL_SPECULAR, none);
}

template <typename Draw>
std::vector<WorldPolygon> drawnPolygons(Draw draw) {
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

bool near(double a, double b) {
    return std::fabs(a - b) < 0.5;
}

// Lanes and bases lie flat at y = -100; a base spans all five lanes.
bool isLanePiece(const WorldPolygon& p) {
    return near(p.min(Y), -100) && near(p.max(Y), -100) && p.max(X) - p.min(X) <= 1000.5;
}
bool isBase(const WorldPolygon& p) {
    return near(p.min(Y), -100) && near(p.max(Y), -100) && p.max(X) - p.min(X) > 4000;
}
// A unit's faces reach from its base corners at -100 to its apex at 100.
bool isUnitFace(const WorldPolygon& p) {
    return near(p.min(Y), -100) && near(p.max(Y), 100);
}
bool isUnitBar(const WorldPolygon& p) {
    return p.min(Y) > 99.5 && p.max(Y) < 150.5;
}
bool isShipBar(const WorldPolygon& p) {
    return near(p.min(Y), 500) && near(p.max(Y), 500);
}

struct Extent {
    double minX, maxX, minZ, maxZ;
};

// The union of the polygons that pass the test, over x and z.
template <typename Test>
Extent extentOf(const std::vector<WorldPolygon>& polygons, Test test) {
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

LaneHalf laneHalfOf(const WorldPolygon& p) {
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

TEST_F(BattleDrawingTest, AtFirstTheAttackersCursorLightsLaneZeroAndTheDefendersLaneFour) {
    Battle* battle = startBattle(0);
    ASSERT_NE(battle, nullptr);
    const std::vector<WorldPolygon> polygons = drawnPolygons([battle] { battle->draw(); });

    std::set<LaneHalf> drawn;
    std::set<LaneHalf> highlighted;
    for (const WorldPolygon& p : polygons) {
        if (!isLanePiece(p)) {
            continue;
        }
        drawn.insert(laneHalfOf(p));
        if (p.hasColour(kCursorColour)) {
            highlighted.insert(laneHalfOf(p));
            // Light blue only at the base end, the lane colour at the middle.
            for (size_t i = 0; i < p.corners.size(); ++i) {
                const float* expected = near(p.corners[i][Z], 0) ? kLaneColour : kCursorColour;
                EXPECT_TRUE(
                    glfeedback::sameColour(p.window[i], expected[0], expected[1], expected[2]))
                    << "corner at z " << p.corners[i][Z];
            }
        } else {
            EXPECT_TRUE(p.hasColour(kLaneColour));
        }
    }
    EXPECT_EQ(drawn.size(), 10u) << "two halves of five lanes";
    EXPECT_EQ(highlighted, (std::set<LaneHalf>{{0, true}, {4, false}}));

    // The lanes side by side cover the field from x = -2500 to 2500, z = -5000 to 5000.
    const Extent field = extentOf(polygons, isLanePiece);
    EXPECT_NEAR(field.minX, -2500, 0.5);
    EXPECT_NEAR(field.maxX, 2500, 0.5);
    EXPECT_NEAR(field.minZ, -5000, 0.5);
    EXPECT_NEAR(field.maxZ, 5000, 0.5);
}

TEST_F(BattleDrawingTest, CursorsFollowTheirMovesAndMayShareALane) {
    Battle* battle = startBattle(0);
    battle->moveCursor(CursorMove::Right, true);
    battle->moveCursor(CursorMove::Right, true);
    battle->moveCursor(CursorMove::Left, false);
    battle->moveCursor(CursorMove::Left, false);
    EXPECT_EQ(highlightedHalves(battle), (std::set<LaneHalf>{{2, true}, {2, false}}));

    battle->moveCursor(CursorMove::Left, true);
    EXPECT_EQ(highlightedHalves(battle), (std::set<LaneHalf>{{1, true}, {2, false}}));
}

TEST_F(BattleDrawingTest, TheHighlightShowsOnScreenUnderTheBattleCamera) {
    Battle* battle = startBattle(0);
    resetFrame();
    glMatrixMode(GL_PROJECTION);
    gluPerspective(60, static_cast<double>(kTestWindowWidth) / kTestWindowHeight, 1, 100000000);
    glMatrixMode(GL_MODELVIEW);
    gluLookAt(0, 5000, 10000, 0, 0, 0, 0, 1, 0);
    GLdouble modelview[16];
    GLdouble projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    battle->draw();

    // Sample lanes 0 and 1 near the attacking base, just clear of the base strip.
    auto pixelAt = [&](double x, double z) {
        double wx = 0;
        double wy = 0;
        double wz = 0;
        gluProject(x, -100, z, modelview, projection, viewport, &wx, &wy, &wz);
        EXPECT_TRUE(wx >= 0 && wx < kTestWindowWidth && wy >= 0 && wy < kTestWindowHeight);
        return readPixel(static_cast<int>(wx), static_cast<int>(wy));
    };
    const Rgb lit = pixelAt(-2000, 4500);
    const Rgb plain = pixelAt(-1000, 4500);
    EXPECT_NEAR(plain[0], 0.9, 0.02);
    EXPECT_NEAR(plain[1], 0.5, 0.02);
    EXPECT_NEAR(plain[2], 0.3, 0.02);
    EXPECT_GT(lit[2], 0.85) << "mostly the cursor's light blue this close to the base";
    EXPECT_LT(lit[0], 0.65);
}

TEST_F(BattleDrawingTest, ShipHealthBarsSpanTheFieldAtFullHealthAndShrinkToTheLeft) {
    Battle* battle = startBattle(0);
    auto barNear = [](double baseZ) {
        return [baseZ](const WorldPolygon& p) {
            return isShipBar(p) && std::fabs(p.centre(Z) - baseZ) < 150;
        };
    };

    std::vector<WorldPolygon> polygons = drawnPolygons([battle] { battle->draw(); });
    for (const double baseZ : {-5000.0, 5000.0}) {
        const Extent bar = extentOf(polygons, barNear(baseZ));
        EXPECT_NEAR(bar.minX, -2500, 0.5) << baseZ;
        EXPECT_NEAR(bar.maxX, 2500, 0.5) << baseZ;
        EXPECT_NEAR(bar.minZ, baseZ - 100, 0.5) << baseZ;
        EXPECT_NEAR(bar.maxZ, baseZ + 100, 0.5) << baseZ;
    }

    battle->defender->health = 5000000;
    battle->attacker->health = 2500000;
    polygons = drawnPolygons([battle] { battle->draw(); });
    EXPECT_NEAR(extentOf(polygons, barNear(-5000)).maxX, 0, 0.5);
    EXPECT_NEAR(extentOf(polygons, barNear(-5000)).minX, -2500, 0.5);
    EXPECT_NEAR(extentOf(polygons, barNear(5000)).maxX, -1250, 0.5);

    for (const WorldPolygon& p : polygons) {
        if (isShipBar(p)) {
            const glfeedback::Vertex& v = p.window[0];
            EXPECT_GT(v.g, v.r) << "green under the light";
            EXPECT_GT(v.g, v.b) << "green under the light";
        }
    }

    battle->attacker->health = -kFullHealth / 2;  // a step can leave a ship below 0
    for (const WorldPolygon& p : drawnPolygons([battle] { battle->draw(); })) {
        if (isShipBar(p)) {
            EXPECT_GE(p.min(X), -2500.5) << "the bar stays within the field";
        }
    }
}

TEST_F(BattleDrawingTest, BasesTakeTheColourOfTheirShipsOwner) {
    for (const int attackingPlayer : {0, 1}) {
        SCOPED_TRACE(attackingPlayer);
        Battle* battle = startBattle(attackingPlayer);
        std::set<bool> basesSeen;
        for (const WorldPolygon& p : drawnPolygons([battle] { battle->draw(); })) {
            if (!isBase(p)) {
                continue;
            }
            const bool attackingBase = p.centre(Z) > 0;
            basesSeen.insert(attackingBase);
            EXPECT_TRUE(near(p.min(Z), attackingBase ? 4700 : -5000) &&
                        near(p.max(Z), attackingBase ? 5000 : -4700));
            const bool redOwner = (attackingBase ? attackingPlayer : 1 - attackingPlayer) == 0;
            const glfeedback::Vertex& v = p.window[0];
            EXPECT_EQ(v.r > v.b, redOwner) << "base at z " << p.centre(Z);
        }
        EXPECT_EQ(basesSeen.size(), 2u);
        Model* model = Model::getSelf();
        delete model->battle;
        model->battle = nullptr;
    }
}

TEST_F(BattleDrawingTest, UnitsStandAtTheirPositionInTheirSidesColours) {
    Battle* battle = startBattle(0);
    deployAt(battle, battle->attacker, 2, 200);
    deployAt(battle, battle->defender, 0, 200);

    struct Expected {
        double x, z;
        float kind[3];
        float side[3];
    };
    const Expected attacking{-2000, 4800, {0.5f, 0.5f, 1}, {0.6f, 0.2f, 0.2f}};
    const Expected defending{2000, -4800, {0, 0, 1}, {0.2f, 0.2f, 0.6f}};

    const std::vector<WorldPolygon> polygons = drawnPolygons([battle] { battle->draw(); });
    for (const Expected& unit : {attacking, defending}) {
        SCOPED_TRACE(unit.x);
        int kindFaces = 0;
        int sideFaces = 0;
        for (const WorldPolygon& p : polygons) {
            if (!isUnitFace(p) || std::fabs(p.centre(X) - unit.x) > 150 ||
                std::fabs(p.centre(Z) - unit.z) > 150) {
                continue;
            }
            // The apex stands above the unit's place.
            for (const Point3& corner : p.corners) {
                if (near(corner[Y], 100)) {
                    EXPECT_NEAR(corner[X], unit.x, 0.5);
                    EXPECT_NEAR(corner[Z], unit.z, 0.5);
                }
            }
            // At clock 0 the kind faces look along x, the side's faces along z.
            const bool facesX = near(std::fabs(p.centre(X) - unit.x), 200.0 / 3);
            if (p.hasColour(unit.kind) && facesX) {
                ++kindFaces;
            } else if (p.hasColour(unit.side) && !facesX) {
                ++sideFaces;
            }
        }
        EXPECT_EQ(kindFaces, 2);
        EXPECT_EQ(sideFaces, 2);
    }
}

TEST_F(BattleDrawingTest, UnitsTurnOneDegreePerTenOfClockButTheirBarsDoNot) {
    Battle* battle = startBattle(0);
    const Unit* unit = deployAt(battle, battle->attacker, 1, 0);
    ASSERT_NE(unit, nullptr);
    Lane* lane = battle->lanes[0];
    auto kindFaceOffsets = [lane] {
        const float kindOne[3] = {0.2f, 0.4f, 0.1f};
        std::vector<Point3> offsets;
        for (const WorldPolygon& p : drawnPolygons([lane] { lane->draw(); })) {
            if (isUnitFace(p) && p.hasColour(kindOne)) {
                offsets.push_back({p.centre(X), p.centre(Y), p.centre(Z) - 5000});
            }
        }
        return offsets;
    };
    auto barWidth = [lane] {
        const auto polygons = drawnPolygons([lane] { lane->draw(); });
        const Extent bar = extentOf(polygons, isUnitBar);
        return bar.maxX - bar.minX;
    };

    Model::getSelf()->clock = 0;
    for (const Point3& c : kindFaceOffsets()) {
        EXPECT_NEAR(std::fabs(c[X]), 200.0 / 3, 0.5);
        EXPECT_NEAR(c[Z], 0, 0.5);
    }
    const double barAtZero = barWidth();

    Model::getSelf()->clock = 900;  // a quarter turn
    const auto turned = kindFaceOffsets();
    EXPECT_EQ(turned.size(), 2u);
    for (const Point3& c : turned) {
        EXPECT_NEAR(c[X], 0, 0.5);
        EXPECT_NEAR(std::fabs(c[Z]), 200.0 / 3, 0.5);
    }
    EXPECT_NEAR(barWidth(), barAtZero, 0.5);
}

TEST_F(BattleDrawingTest, AUnitAtHalfHealthHasABarHalfAsWide) {
    Battle* battle = startBattle(0);
    Unit* unit = deployAt(battle, battle->attacker, 0, 1000);
    const float green[3] = {0, 1, 0};
    auto bar = [battle] {
        return extentOf(drawnPolygons([battle] { battle->draw(); }), isUnitBar);
    };

    const Extent full = bar();
    EXPECT_NEAR(full.minX, -2100, 0.5);
    EXPECT_NEAR(full.maxX, -1900, 0.5);
    EXPECT_NEAR(full.minZ, 4000, 0.5);
    EXPECT_NEAR(full.maxZ, 4000, 0.5);

    unit->health = unit->maxHealth / 2;
    const Extent half = bar();
    EXPECT_NEAR(half.maxX - half.minX, 100, 0.5);
    EXPECT_NEAR((half.maxX + half.minX) / 2, -2000, 0.5) << "centred on the unit";

    for (const WorldPolygon& p : drawnPolygons([battle] { battle->draw(); })) {
        if (isUnitBar(p)) {
            EXPECT_TRUE(p.hasColour(green));
        }
    }
}

}  // namespace
