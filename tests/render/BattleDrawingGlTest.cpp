// The battle field: lanes with their cursors, the bases and the ships' health
// bars, read back as world polygons.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "BattleScene.h"
#include "battle/Battle.h"
#include "battle/Lane.h"
#include "battle/Unit.h"
#include "game/Model.h"
#include "game/Ship.h"
#include "support/GlContext.h"

namespace {

using namespace battlescene;

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

}  // namespace
