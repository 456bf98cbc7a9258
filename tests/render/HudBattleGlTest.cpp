// The battle screen's panels, read back as text and polygons, and how every
// panel element fits common window shapes.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "HudFixture.h"
#include "battle/Battle.h"
#include "game/Model.h"
#include "game/Player.h"
#include "game/Ship.h"
#include "render/Hud.h"
#include "support/GlContext.h"

namespace {

using namespace strokereading;

constexpr double kLegendText = 0.002;  // font scale 0.001 under the legend's scale 2

const std::vector<GlyphShape>& legendShapes() {
    static const std::vector<GlyphShape> shapes = glyphShapes(-10, kLegendText);
    return shapes;
}

class HudBattleTest : public HudTest {
protected:
    // A battle in which the given player's home ship attacks the other's.
    Battle* startBattle(int attackingPlayer) {
        Model* model = Model::getSelf();
        model->startBattle(player(attackingPlayer)->ships[0],
                           player(1 - attackingPlayer)->ships[0]);
        return model->battle;
    }

    Capture captureBattleHud() {
        setEyeView();
        glDisable(GL_LIGHTING);
        Capture capture = glfeedback::capture([this] { hud->drawBattleHud(); });
        glEnable(GL_LIGHTING);
        return capture;
    }

    // Polygons drawn left and right of the middle of the screen.
    std::pair<int, int> polygonsBySide() {
        const Capture capture = captureBattleHud();
        int left = 0;
        int right = 0;
        for (const auto& primitive : capture.primitives) {
            if (primitive.kind != Kind::Polygon) {
                continue;
            }
            const glfeedback::Point3 eye = capture.unproject(primitive.vertices[0]);
            (eye[0] < 0 ? left : right) += 1;
        }
        return {left, right};
    }
};

TEST_F(HudBattleTest, EachPlayerSeesTheirOwnKeysOnTheirSide) {
    // Player 1 attacks; the legends belong to the players, not to the roles.
    startBattle(1);
    const Capture capture = captureBattleHud();
    const std::vector<ReadGlyph> glyphs = readGlyphs(capture, legendShapes());

    const auto leftArrows = glyphsOnRow(glyphs, 0.6, -8, -2);
    EXPECT_EQ(textOf(leftArrows), "<-we->");
    EXPECT_EQ(textOf(glyphsOnRow(glyphs, 0.6, 2, 8)), "<-io->");
    const auto leftKeys = glyphsOnRow(glyphs, -0.2, -8, -2);
    EXPECT_EQ(textOf(leftKeys), "asdf");
    EXPECT_EQ(textOf(glyphsOnRow(glyphs, -0.2, 2, 8)), "jkl;");
    ASSERT_FALSE(leftArrows.empty());
    EXPECT_NEAR(leftArrows[0].x, -5.92, 1e-3);
    ASSERT_EQ(leftKeys.size(), 4u);
    for (int kind = 0; kind < 4; ++kind) {
        EXPECT_NEAR(leftKeys[kind].x, -5.8 + 0.5 * kind, 1e-3) << kind;
    }
}

TEST_F(HudBattleTest, EachSideShowsTheBattleShipOfItsPlayer) {
    Battle* battle = startBattle(1);
    ASSERT_NE(battle, nullptr);
    ASSERT_EQ(battle->attacker->owner, player(1));
    const auto [left0, right0] = polygonsBySide();

    // Stock bars appear on the attacking ship only: it is drawn on the right.
    for (int& stock : battle->attacker->unitStock) {
        stock = 10;
    }
    const auto [left1, right1] = polygonsBySide();
    EXPECT_EQ(left1, left0);
    EXPECT_GT(right1, right0);

    battle->defender->unitStock[0] = 5;
    const auto [left2, right2] = polygonsBySide();
    EXPECT_GT(left2, left1);
    EXPECT_EQ(right2, right1);
}

TEST_F(HudBattleTest, EveryPanelElementIsWholeOnCommonWindowShapes) {
    startBattle(0);
    Model::getSelf()->remote[1] = true;  // "you" on player 0's side
    Model::getSelf()->waitingForPeer = true;
    player(0)->credits = player(1)->credits = 1000;
    for (const auto& [width, height] :
         {std::pair{1280, 1024}, std::pair{1024, 768}, std::pair{1680, 1050}, std::pair{1920, 1080},
          std::pair{2560, 1080}}) {
        Model::getSelf()->windowWidth = width;
        Model::getSelf()->windowHeight = height;
        resetFrame();
        glViewport(0, 0, width, height);
        glMatrixMode(GL_PROJECTION);
        gluPerspective(60, static_cast<double>(width) / height, 1, 1e8);
        glMatrixMode(GL_MODELVIEW);
        // Clipping puts vertices of a cut element on the window's edge.
        int cut = 0;
        const auto countCut = [&](const Capture& capture) {
            for (const auto& primitive : capture.primitives) {
                for (const auto& v : primitive.vertices) {
                    cut +=
                        v.x < 0.01f || v.x > width - 0.01f || v.y < 0.01f || v.y > height - 0.01f;
                }
            }
        };
        for (int degrees = 0; degrees < 360; degrees += 15) {  // the spinning pictures all round
            hud->leftAngle = hud->rightAngle = static_cast<float>(degrees);
            countCut(glfeedback::capture([this] { hud->drawTurnHud(); }));
        }
        countCut(glfeedback::capture([this] { hud->drawBattleHud(); }));
        EXPECT_EQ(cut, 0) << width << "x" << height;
    }
}

TEST_F(HudBattleTest, DrawsNothingWithoutABattle) {
    ASSERT_EQ(Model::getSelf()->battle, nullptr);
    EXPECT_TRUE(captureBattleHud().primitives.empty());
}

}  // namespace
