#include "render/Hud.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "battle/Battle.h"
#include "game/Model.h"
#include "game/Node.h"
#include "game/Player.h"
#include "game/Ship.h"
#include "render/FeedbackCapture.h"
#include "support/GlContext.h"
#include "support/World.h"

namespace {

using glfeedback::Capture;
using glfeedback::Kind;

// A wide view over eye space, on a viewport ten times the window so that the
// stroke text comes back large enough to tell glyphs apart exactly.
constexpr int kViewWidth = 10 * kTestWindowWidth;
constexpr int kViewHeight = 10 * kTestWindowHeight;

void setEyeView() {
    resetFrame();
    glViewport(0, 0, kViewWidth, kViewHeight);
    glMatrixMode(GL_PROJECTION);
    gluPerspective(120, static_cast<double>(kViewWidth) / kViewHeight, 0.1, 100);
    glMatrixMode(GL_MODELVIEW);
}

// ---- Reading stroke text back from feedback -------------------------------

struct Segment {
    float x0, y0, x1, y1;  // window
    float depth;
    bool stripStart;
    float r, g, b;
};

std::vector<Segment> segmentsOf(const Capture& capture) {
    std::vector<Segment> segments;
    for (const auto& primitive : capture.primitives) {
        if (primitive.kind != Kind::Line) {
            continue;
        }
        const auto& a = primitive.vertices[0];
        const auto& b = primitive.vertices[1];
        segments.push_back({a.x, a.y, b.x, b.y, a.depth, primitive.stripStart, a.r, a.g, a.b});
    }
    return segments;
}

// The strokes of one glyph in window coordinates, with the window position of
// the glyph's origin.
struct GlyphShape {
    char glyph;
    std::vector<Segment> segments;
    float originX, originY;
};

// Every printable glyph of the font as it appears in the plane at eye depth
// `depth` under a uniform scale; longest first, so that a glyph is never read
// as a shorter one that starts with the same strokes. A few glyphs share one
// shape ("l" and "I" are both a single stroke); the capitals come last and so
// lose such ties, since the game writes no capitals in its panels.
std::vector<GlyphShape> glyphShapes(float depth, float scale) {
    std::string order;
    for (char glyph = 33; glyph < 127; ++glyph) {
        if (glyph < 'A' || glyph > 'Z') {
            order += glyph;
        }
    }
    for (char glyph = 'A'; glyph <= 'Z'; ++glyph) {
        order += glyph;
    }
    std::vector<GlyphShape> shapes;
    for (const char glyph : order) {
        const Capture capture = glfeedback::capture(
            [&] {
                glPushMatrix();
                glTranslatef(0, 0, depth);
                glScalef(scale, scale, scale);
                glBegin(GL_POINTS);
                glVertex3f(0, 0, 0);
                glEnd();
                glutStrokeCharacter(GLUT_STROKE_ROMAN, glyph);
                glPopMatrix();
            },
            1 << 14);
        GlyphShape shape{glyph, segmentsOf(capture), 0, 0};
        for (const auto& primitive : capture.primitives) {
            if (primitive.kind == Kind::Point) {
                shape.originX = primitive.vertices[0].x;
                shape.originY = primitive.vertices[0].y;
            }
        }
        if (!shape.segments.empty()) {
            shapes.push_back(shape);
        }
    }
    std::stable_sort(shapes.begin(), shapes.end(), [](const GlyphShape& a, const GlyphShape& b) {
        return a.segments.size() > b.segments.size();
    });
    return shapes;
}

bool shapeAt(const std::vector<Segment>& drawn, size_t start, const GlyphShape& shape) {
    constexpr float kTolerance = 0.05f;  // pixels of the large viewport
    if (start + shape.segments.size() > drawn.size()) {
        return false;
    }
    const float dx = drawn[start].x0 - shape.segments[0].x0;
    const float dy = drawn[start].y0 - shape.segments[0].y0;
    for (size_t k = 0; k < shape.segments.size(); ++k) {
        const Segment& d = drawn[start + k];
        const Segment& s = shape.segments[k];
        if (d.stripStart != s.stripStart || std::fabs(d.x0 - s.x0 - dx) > kTolerance ||
            std::fabs(d.y0 - s.y0 - dy) > kTolerance || std::fabs(d.x1 - s.x1 - dx) > kTolerance ||
            std::fabs(d.y1 - s.y1 - dy) > kTolerance) {
            return false;
        }
    }
    return true;
}

// One glyph found in a capture: which, where its origin is in eye
// coordinates, and the colour of its strokes (when they all share one).
struct ReadGlyph {
    char glyph;
    double x, y;
    float r, g, b;
    bool oneColour;
};

std::vector<ReadGlyph> readGlyphs(const Capture& capture, const std::vector<GlyphShape>& shapes) {
    const std::vector<Segment> drawn = segmentsOf(capture);
    std::vector<ReadGlyph> glyphs;
    size_t i = 0;
    while (i < drawn.size()) {
        const auto found = std::find_if(shapes.begin(), shapes.end(),
                                        [&](const GlyphShape& s) { return shapeAt(drawn, i, s); });
        if (found == shapes.end()) {
            ++i;
            continue;
        }
        const Segment& first = drawn[i];
        const double originX = found->originX + first.x0 - found->segments[0].x0;
        const double originY = found->originY + first.y0 - found->segments[0].y0;
        const glfeedback::Point3 eye = capture.unproject(originX, originY, first.depth);
        bool oneColour = true;
        for (size_t k = i; k < i + found->segments.size(); ++k) {
            oneColour = oneColour && drawn[k].r == first.r && drawn[k].g == first.g &&
                        drawn[k].b == first.b;
        }
        glyphs.push_back({found->glyph, eye[0], eye[1], first.r, first.g, first.b, oneColour});
        i += found->segments.size();
    }
    return glyphs;
}

// The glyphs whose origins lie on the baseline y within [xMin, xMax], left to right.
std::vector<ReadGlyph> glyphsOnRow(const std::vector<ReadGlyph>& glyphs, double y, double xMin,
                                   double xMax) {
    std::vector<ReadGlyph> row;
    for (const ReadGlyph& g : glyphs) {
        if (std::fabs(g.y - y) < 0.005 && g.x >= xMin && g.x <= xMax) {
            row.push_back(g);
        }
    }
    std::sort(row.begin(), row.end(),
              [](const ReadGlyph& a, const ReadGlyph& b) { return a.x < b.x; });
    return row;
}

std::string textOf(const std::vector<ReadGlyph>& row) {
    std::string text;
    for (const ReadGlyph& g : row) {
        text += g.glyph;
    }
    return text;
}

// ---- The map-screen panels -------------------------------------------------

constexpr double kPanelText = 0.001;    // font units to eye units
constexpr double kLeftNumberX = -1.3;   // icons at -1.5, numbers 200 font units right
constexpr double kRightNumberX = 1.23;  // icons at 1.5, numbers 270 font units left
constexpr double kRightShift = 0.18;

// Eye y of panel row 0 (ships) to 6 (credits).
double rowY(int row) {
    return 1.2 - (row + 1) * (2.0 / 7.0);
}

const std::vector<GlyphShape>& panelShapes() {
    static const std::vector<GlyphShape> shapes = glyphShapes(-2, kPanelText);
    return shapes;
}

std::vector<ReadGlyph> leftNumber(const std::vector<ReadGlyph>& glyphs, int row) {
    return glyphsOnRow(glyphs, rowY(row), -1.4, -0.5);
}

std::vector<ReadGlyph> rightNumber(const std::vector<ReadGlyph>& glyphs, int row) {
    return glyphsOnRow(glyphs, rowY(row), 0.4, 1.6);
}

class HudTest : public ::testing::Test {
protected:
    void SetUp() override {
        Model* model = buildWorld(1, kWorldNodes, kPlayersPart | kHudPart);
        hud = model->hud;
        // A 16:9 window shows the panels exactly as laid out.
        model->windowWidth = 1920;
        model->windowHeight = 1080;
    }

    void TearDown() override {
        Model::resetSelf();
        glEnable(GL_LIGHTING);
        resetFrame();
    }

    static Player* player(int index) { return Model::getSelf()->players[index]; }

    // Gives the player one more node of the kind, taken from the unowned ones.
    static void giveNode(int playerIndex, int kind) {
        Model* model = Model::getSelf();
        for (int i = model->playerCount; i < model->nodeCount; ++i) {
            Node* node = model->nodes[i];
            if (node->owner == nullptr) {
                node->setKind(kind);
                player(playerIndex)->gainNode(node);
                return;
            }
        }
        FAIL() << "no unowned node left";
    }

    // One map-screen frame of the panels, lit as in the game unless unlit is set
    // (then every vertex keeps the colour it was given).
    std::vector<ReadGlyph> readTurnHud(bool unlit = false) {
        setEyeView();
        if (unlit) {
            glDisable(GL_LIGHTING);
        }
        const Capture capture = glfeedback::capture([this] { hud->drawTurnHud(); });
        glEnable(GL_LIGHTING);
        return readGlyphs(capture, panelShapes());
    }

    Hud* hud = nullptr;
};

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

// ---- The battle-screen panels ----------------------------------------------

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

TEST_F(HudBattleTest, DrawsNothingWithoutABattle) {
    ASSERT_EQ(Model::getSelf()->battle, nullptr);
    EXPECT_TRUE(captureBattleHud().primitives.empty());
}

}  // namespace
