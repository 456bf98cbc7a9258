#include <gtest/gtest.h>

#include <algorithm>

#include "TopDownView.h"
#include "game/Model.h"
#include "game/Node.h"
#include "game/Player.h"

namespace {

// Points of a tile drawn at the origin where only one of its parts shows.
constexpr float kRimX = 1.1f;  // outside the tile, inside the rim
constexpr float kMarkX = -0.3f;
constexpr float kMarkZ = -0.8f;  // on the kind mark, outside the cap

class NodeDrawing : public ::testing::Test {
protected:
    void SetUp() override {
        Model* model = Model::getSelf();
        model->players = new Player* [2] { new Player(), new Player() };
    }
    void TearDown() override { Model::resetSelf(); }
    static Player* player(int index) { return Model::getSelf()->players[index]; }
};

TEST_F(NodeDrawing, AnUnownedNodeShowsItsGreyTileAndKindMarkOnly) {
    const TopDownView view(0, 0, 2);
    Node node(2);
    node.draw();
    EXPECT_TRUE(looksLike(view.colourAt(0, 0), 0.3f, 0.3f, 0.3f));
    EXPECT_TRUE(looksLike(view.colourAt(kMarkX, kMarkZ), 0.5f, 0.5f, 1));
    EXPECT_TRUE(looksLike(view.colourAt(kRimX, 0), 0, 0, 0));
}

TEST_F(NodeDrawing, TheRimMarksHomeNodesAndIconsTheCapEveryOwnedNode) {
    const TopDownView view(0, 0, 2);
    Node home(4);
    Node plain(1);
    Node icon(3);
    home.owner = player(0);
    player(0)->homeNode = &home;
    plain.owner = player(0);
    icon.owner = player(1);
    icon.showOwner = true;
    struct Case {
        Node* node;
        bool rim;
        Rgb dark, light;
    };
    const Case cases[] = {{&home, true, {0.6f, 0.2f, 0.2f}, {1, 0.6f, 0.6f}},
                          {&plain, false, {}, {1, 0.6f, 0.6f}},
                          {&icon, true, {0.2f, 0.2f, 0.6f}, {0.6f, 0.6f, 1}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.node->kind);
        view.clear();
        c.node->draw();
        const Rgb rim = c.rim ? c.dark : Rgb{0, 0, 0};
        EXPECT_TRUE(looksLike(view.colourAt(kRimX, 0), rim[0], rim[1], rim[2]));
        // Under the game's full-strength light the cap keeps its owner's hue.
        glEnable(GL_LIGHTING);
        view.clear();
        c.node->draw();
        glDisable(GL_LIGHTING);
        EXPECT_TRUE(looksLike(view.colourAt(0, 0), c.light[0], c.light[1], c.light[2]));
    }
}

TEST_F(NodeDrawing, ASelectedTilePulsesBetweenHalfAndFullGrey) {
    const TopDownView view(0, 0, 2);
    Node node(0);
    node.selected = true;
    float darkest = 1;
    float brightest = 0;
    for (int clock = 0; clock <= 1260; clock += 10) {
        Model::getSelf()->clock = clock;
        view.clear();
        node.draw();
        const Rgb tile = view.colourAt(0, 0);
        if (clock == 0) {
            EXPECT_TRUE(looksLike(tile, 0.75f, 0.75f, 0.75f));
        }
        darkest = std::min(darkest, tile[0]);
        brightest = std::max(brightest, tile[0]);
    }
    EXPECT_NEAR(darkest, 0.5f, 0.01f);
    EXPECT_NEAR(brightest, 1, 0.01f);
}

TEST_F(NodeDrawing, TheKindMarkTakesTheKindsColourAndGreyForNoKind) {
    const TopDownView view(0, 0, 2);
    struct Case {
        int kind;
        Rgb mark;
    };
    const Case cases[] = {{-1, {0.3f, 0.3f, 0.3f}}, {0, {0, 0, 1}},
                          {1, {0.2f, 0.4f, 0.1f}},  {3, {1, 0, 0}},
                          {4, {0.1f, 0.1f, 0.1f}},  {9, {0.3f, 0.3f, 0.3f}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        Node node;
        node.kind = c.kind;
        view.clear();
        node.draw();
        EXPECT_TRUE(looksLike(view.colourAt(kMarkX, kMarkZ), c.mark[0], c.mark[1], c.mark[2]));
    }
}

}  // namespace
