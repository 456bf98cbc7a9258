// The battle's units: where they stand, their colours, their turn and their
// health bars, read back as world polygons.
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
