// The map screen's side panels, read back as text and pixels.
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

constexpr double kLeftNumberX = -1.3;   // icons at -1.5, numbers 200 font units right
constexpr double kRightNumberX = 1.23;  // icons at 1.5, numbers 270 font units left
constexpr double kRightShift = 0.18;

// Eye y of panel row 0 (ships) to 6 (credits).
double rowY(int row) {
    return 1.2 - (row + 1) * (2.0 / 7.0);
}

std::vector<ReadGlyph> leftNumber(const std::vector<ReadGlyph>& glyphs, int row) {
    return glyphsOnRow(glyphs, rowY(row), -1.4, -0.5);
}

std::vector<ReadGlyph> rightNumber(const std::vector<ReadGlyph>& glyphs, int row) {
    return glyphsOnRow(glyphs, rowY(row), 0.4, 1.6);
}

TEST_F(HudTest, AtTheStartBothPanelsShowOneShipAndOnlyTheHomeNode) {
    const std::vector<ReadGlyph> glyphs = readTurnHud();
    const char* expected[7] = {"1", "0", "0", "0", "0", "1", "0"};
    for (int row = 0; row < 7; ++row) {
        SCOPED_TRACE(row);
        const auto left = leftNumber(glyphs, row);
        const auto right = rightNumber(glyphs, row);
        EXPECT_EQ(textOf(left), expected[row]);
        EXPECT_EQ(textOf(right), expected[row]);
        if (!left.empty() && !right.empty()) {
            EXPECT_NEAR(left[0].x, kLeftNumberX, 1e-3);
            EXPECT_NEAR(right[0].x, kRightNumberX, 1e-3);
        }
    }
    // Only kind-4 nodes: no productive node to share out, so no bars.
    for (int kind = 0; kind < kUnitKinds; ++kind) {
        EXPECT_EQ(hud->leftShip->unitStock[kind], 0);
        EXPECT_EQ(hud->rightShip->unitStock[kind], 0);
    }
}

TEST_F(HudTest, HelpLinesNameThePriceAndTheCurrentPlayersKeyInTheirColour) {
    struct Turn {
        int currentPlayer;
        const char* text;
        float r, g, b;
    };
    for (const Turn& turn :
         {Turn{0, "'q'toendturn", 0.6f, 0.2f, 0.2f}, Turn{1, "'p'toendturn", 0.2f, 0.2f, 0.6f}}) {
        SCOPED_TRACE(turn.currentPlayer);
        Model::getSelf()->currentPlayer = turn.currentPlayer;
        const std::vector<ReadGlyph> glyphs = readTurnHud(true);

        const auto endTurn = glyphsOnRow(glyphs, 0.8, -0.71, 2);
        EXPECT_EQ(textOf(endTurn), turn.text);
        ASSERT_EQ(endTurn.size(), 12u);
        EXPECT_NEAR(endTurn[0].x, -0.7, 1e-3);
        // The same word gap after the closing quote as after "to" and "end".
        const float extraMoves[] = {30, 30, 80, 30, 80, 30, 30, 80, 30, 30, 30};
        for (size_t i = 0; i + 1 < endTurn.size(); ++i) {
            const double advance =
                glutStrokeWidthf(GLUT_STROKE_ROMAN, endTurn[i].glyph) * kPanelText;
            EXPECT_NEAR(endTurn[i + 1].x - endTurn[i].x - advance, extraMoves[i] * kPanelText, 1e-3)
                << "after glyph " << i;
        }
        for (const ReadGlyph& g : endTurn) {
            EXPECT_TRUE(g.oneColour);
            EXPECT_NEAR(g.r, turn.r, 1e-3) << g.glyph;
            EXPECT_NEAR(g.g, turn.g, 1e-3) << g.glyph;
            EXPECT_NEAR(g.b, turn.b, 1e-3) << g.glyph;
        }

        const auto buy = glyphsOnRow(glyphs, -1.0, -1.01, 2);
        EXPECT_EQ(textOf(buy), "spacetobuyship(10)");
        for (const ReadGlyph& g : buy) {
            EXPECT_NEAR(g.r + g.g + g.b, 3.0f, 1e-3) << "white, glyph " << g.glyph;
        }
    }
}

TEST_F(HudTest, PreviewStockIsTheShareOfProductiveNodesScaledToTen) {
    // Player 0 ends up with 3 nodes of kind 0, 1 of kind 2 and 2 of kind 4.
    giveNode(0, 0);
    giveNode(0, 0);
    giveNode(0, 0);
    giveNode(0, 2);
    giveNode(0, 4);
    ASSERT_EQ(player(0)->nodeTotal, 6);
    // Player 1 owns nothing at all; its preview must come out empty, not divide by zero.
    player(1)->loseNode(player(1)->homeNode);
    ASSERT_EQ(player(1)->nodeTotal, 0);
    hud->leftShip->unitStock[1] = 9;  // left-over values must not survive
    hud->rightShip->unitStock[0] = 4;

    const std::vector<ReadGlyph> glyphs = readTurnHud();

    const int expected[kUnitKinds] = {7, 0, 2, 0};  // 7.5 and 2.5 truncate
    for (int kind = 0; kind < kUnitKinds; ++kind) {
        EXPECT_EQ(hud->leftShip->unitStock[kind], expected[kind]) << kind;
        EXPECT_EQ(hud->rightShip->unitStock[kind], 0) << kind;
    }
    const char* leftRows[7] = {"1", "3", "0", "1", "0", "2", "0"};
    for (int row = 0; row < 7; ++row) {
        EXPECT_EQ(textOf(leftNumber(glyphs, row)), leftRows[row]) << row;
    }
}

TEST_F(HudTest, RightPanelNumbersShiftLeftOncePerDigitAfterTheFirst) {
    struct Case {
        int value;
        int shifts;
    };
    for (const Case& c :
         {Case{9, 0}, Case{10, 1}, Case{99, 1}, Case{100, 2}, Case{101, 2}, Case{2500, 3}}) {
        SCOPED_TRACE(c.value);
        player(0)->credits = c.value;
        player(1)->credits = c.value;
        const std::vector<ReadGlyph> glyphs = readTurnHud();
        const auto left = leftNumber(glyphs, 6);
        const auto right = glyphsOnRow(glyphs, rowY(6), 0, 2);
        EXPECT_EQ(textOf(left), std::to_string(c.value));
        EXPECT_EQ(textOf(right), std::to_string(c.value));
        ASSERT_FALSE(left.empty());
        ASSERT_FALSE(right.empty());
        EXPECT_NEAR(left[0].x, kLeftNumberX, 1e-3) << "left numbers never shift";
        EXPECT_NEAR(right[0].x, kRightNumberX - kRightShift * c.shifts, 1e-3);
    }
}

TEST_F(HudTest, PanelsSpinByTicksNotByDrawingTheCurrentPlayersTenTimesFaster) {
    Model::getSelf()->currentPlayer = 0;
    readTurnHud();
    EXPECT_FLOAT_EQ(hud->leftAngle, 0) << "drawing turns nothing";
    hud->advanceSpin(0);
    EXPECT_FLOAT_EQ(hud->leftAngle, 5);
    EXPECT_NEAR(hud->rightAngle, 0.5, 1e-5);

    hud->advanceSpin(1);
    EXPECT_NEAR(hud->leftAngle, 5.5, 1e-5);
    EXPECT_NEAR(hud->rightAngle, 5.5, 1e-5);

    hud->rightAngle = 358;
    hud->advanceSpin(1);
    EXPECT_FLOAT_EQ(hud->rightAngle, 3) << "359, then 360 becomes 0, then 1, 2, 3";
}

TEST_F(HudTest, ASecondHudCompilesNoLists) {
    ASSERT_TRUE(Hud::listsBuilt);
    EXPECT_TRUE(glIsList(Hud::leftKeysList));
    EXPECT_TRUE(glIsList(Hud::rightKeysList));
    const GLuint before = glGenLists(1);
    Hud* second = new Hud();
    const GLuint after = glGenLists(1);
    delete second;
    EXPECT_EQ(after, before + 1);
}

// The pixels "you" changes in the map frame's panels, drawn in a viewport of
// the window's shape scaled into the test window, with or without the panels'
// pictures.
int pixelsOfYou(Hud* hud, int side, int width, int height, bool pictures) {
    Model* model = Model::getSelf();
    Player* owners[] = {model->players[0], model->players[1]};
    hud->leftShip->owner = pictures ? owners[0] : nullptr;  // no owner, no panel
    hud->rightShip->owner = pictures ? owners[1] : nullptr;
    std::vector<float> frames[2];
    for (std::vector<float>& frame : frames) {
        model->remote[1 - side] = &frame == &frames[1];
        resetFrame();
        glViewport(0, 0, width, height);
        glMatrixMode(GL_PROJECTION);
        gluPerspective(60, static_cast<double>(width) / height, 1, 1e8);
        glMatrixMode(GL_MODELVIEW);
        hud->drawTurnHud();
        frame.resize(3 * kTestWindowWidth * kTestWindowHeight);
        glReadPixels(0, 0, kTestWindowWidth, kTestWindowHeight, GL_RGB, GL_FLOAT, frame.data());
    }
    model->remote[1 - side] = false;
    hud->leftShip->owner = owners[0];
    hud->rightShip->owner = owners[1];
    int changed = 0;
    for (size_t i = 0; i < frames[0].size(); i += 3) {
        changed += !std::equal(&frames[0][i], &frames[0][i] + 3, &frames[1][i]);
    }
    return changed;
}

// A network game marks the side played here with "you" above its panel, over
// the top row's spinning ship: whichever way it has turned, "you" shows as
// many pixels as it does alone, at 4:3, 5:4, 16:9 and 21:9.
TEST_F(HudTest, YouShowsWholeOverThePanelsPicturesOnCommonWindowShapes) {
    for (const auto& [width, height] :
         {std::pair{320, 240}, std::pair{300, 240}, std::pair{320, 180}, std::pair{320, 137}}) {
        Model::getSelf()->windowWidth = width;
        Model::getSelf()->windowHeight = height;
        for (int degrees = 0; degrees < 360; degrees += 15) {
            hud->leftAngle = hud->rightAngle = static_cast<float>(degrees);
            for (int side = 0; side < kPlayerCount; ++side) {
                const int alone = pixelsOfYou(hud, side, width, height, false);
                EXPECT_GT(alone, 15);
                EXPECT_EQ(pixelsOfYou(hud, side, width, height, true), alone)
                    << width << "x" << height << ", side " << side << ", " << degrees << " degrees";
            }
        }
    }
}
}  // namespace
