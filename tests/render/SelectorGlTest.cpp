#include <gtest/gtest.h>

#include <algorithm>
#include <cfenv>
#include <cmath>

#include "TopDownView.h"
#include "app/Entry.h"
#include "game/Model.h"
#include "game/Node.h"
#include "game/NodeMap.h"
#include "game/Player.h"
#include "game/Ship.h"
#include "render/Selector.h"
#include "support/CellPointer.h"
#include "support/Guarded.h"

namespace {

constexpr float kArrowY = 0.2f;

struct Point {
    float x, z;
};

Point centreOf(int gridX, int gridZ) {
    return {gridX * 1.6f, gridZ * 1.3f};
}

float distance(const FeedbackVertex& v, Point p) {
    return std::hypot(v.x - p.x, v.z - p.z);
}

std::vector<FeedbackVertex> verticesOf(const std::vector<FeedbackPolygon>& polygons) {
    std::vector<FeedbackVertex> vertices;
    for (const FeedbackPolygon& polygon : polygons) {
        vertices.insert(vertices.end(), polygon.begin(), polygon.end());
    }
    return vertices;
}

// The arrow starts with its 0.6 wide shaft on the centre of from and ends with
// the tip of its 2 wide head on the centre of to.
void expectArrowBetween(const std::vector<FeedbackVertex>& vertices, Point from, Point to) {
    ASSERT_FALSE(vertices.empty());
    const float length = std::hypot(to.x - from.x, to.z - from.z);
    float nearestToStart = 99, nearestToEnd = 99, widest = 0;
    for (const FeedbackVertex& v : vertices) {
        EXPECT_NEAR(v.y, kArrowY, 0.01f);
        nearestToStart = std::min(nearestToStart, distance(v, from));
        nearestToEnd = std::min(nearestToEnd, distance(v, to));
        const float across = ((v.x - from.x) * (to.z - from.z) - (v.z - from.z) * (to.x - from.x));
        widest = std::max(widest, std::fabs(across) / length);
    }
    EXPECT_NEAR(nearestToStart, 0.3f, 0.002f);
    EXPECT_NEAR(nearestToEnd, 0, 0.002f);
    EXPECT_NEAR(widest, 1, 0.002f);
}

class SelectorDrawing : public ::testing::Test {
protected:
    void SetUp() override {
        Model::getSelf()->players = new Player* [2] { new Player(), new Player() };
    }
    void TearDown() override { Model::resetSelf(); }

    Selector selector;
    Node from;
    Node to;
};

TEST_F(SelectorDrawing, AnArrowRunsFromCentreToCentreInEveryDirection) {
    const TopDownView view(0, 0, 5);
    const int cases[][4] = {{0, 0, 1, 1},  {1, 1, 0, 0},   {0, 0, 0, 2},
                            {0, 0, 0, -2}, {2, 0, -1, -1}, {-1, 1, 1, -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c[0] << "," << c[1] << " to " << c[2] << "," << c[3]);
        from.gridX = c[0];
        from.gridZ = c[1];
        to.gridX = c[2];
        to.gridZ = c[3];
        const auto polygons = view.capture([this] { selector.drawArrow(&from, &to); });
        expectArrowBetween(verticesOf(polygons), centreOf(c[0], c[1]), centreOf(c[2], c[3]));
    }
}

TEST_F(SelectorDrawing, AnArrowBetweenCoincidingCellsDrawsNothing) {
    const TopDownView view(0, 0, 5);
    from.gridX = to.gridX = 3;
    from.gridZ = to.gridZ = -1;
    GLint depthBefore = 0, depthAfter = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthBefore);
    std::feclearexcept(FE_ALL_EXCEPT);
    EXPECT_TRUE(view.capture([this] { selector.drawArrow(&from, &to); }).empty());
    EXPECT_FALSE(std::fetestexcept(FE_INVALID | FE_DIVBYZERO)) << "no direction may be computed";
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthAfter);
    EXPECT_EQ(depthAfter, depthBefore);
    EXPECT_GUARDED(selector.drawArrow(&from, nullptr), "an arrow is drawn between two nodes");
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(SelectorDrawing, TheCursorShowsARingOnItsCellAndAMarkOnThePointer) {
    const TopDownView view(0, 0, 3);
    selector.gridX = 1;
    selector.gridZ = 1;
    selector.pointerGridX = -1;
    selector.pointerGridZ = 0.5f;
    selector.drawCursor();
    EXPECT_TRUE(looksLike(view.colourAt(1.6f + 1.05f, 1.3f), 1, 1, 1));
    EXPECT_TRUE(looksLike(view.colourAt(1.6f + 1.15f, 1.3f), 0, 0, 0));
    EXPECT_TRUE(looksLike(view.colourAt(-1.6f, 0.65f), 1, 0, 0));
    EXPECT_TRUE(looksLike(view.colourAt(-1.6f + 0.15f, 0.65f), 0, 0, 0));
}

TEST_F(SelectorDrawing, TheMoveArrowLeadsFromTheSelectedShipToTheCursor) {
    const TopDownView view(0, 0, 5);
    Model* model = Model::getSelf();
    Ship ship(model->players[1]);
    from.gridX = -1;
    from.gridZ = 1;
    ship.location = &from;
    selector.gridX = 1;
    selector.gridZ = -1;
    const auto drawCursor = [this] { selector.drawCursor(); };
    const size_t ringAndMark = view.capture(drawCursor).size();

    model->selectedShip = &ship;
    const auto arrow = verticesOf(view.capture([this] { selector.drawMoveArrow(); }));
    expectArrowBetween(arrow, centreOf(-1, 1), centreOf(1, -1));
    for (const FeedbackVertex& v : arrow) {
        EXPECT_TRUE(looksLike({v.r, v.g, v.b}, 0.2f, 0.2f, 0.6f));
    }
    EXPECT_GT(view.capture(drawCursor).size(), ringAndMark);

    selector.gridX = -1;
    selector.gridZ = 1;  // the cursor on the ship's own cell
    EXPECT_TRUE(view.capture([this] { selector.drawMoveArrow(); }).empty());
    EXPECT_EQ(view.capture(drawCursor).size(), ringAndMark);
}

class MapDrawing : public ::testing::Test {
protected:
    void TearDown() override { Model::resetSelf(); }
};

TEST_F(MapDrawing, MovesTheCursorUnderThePointerAndDrawsEveryNode) {
    createWorld(2, 3);
    Model* model = Model::getSelf();
    model->selector->gridX = 4;
    model->selector->gridZ = 2;
    aimPointerAt(model, 0, 0);  // the seed's cell
    const TopDownView view(0, 0, 4);
    const auto polygons = view.capture([model] { model->nodeMap->drawMap(); });
    EXPECT_EQ(model->selector->gridX, 0);
    EXPECT_EQ(model->selector->gridZ, 0);
    float ringLeft = 99, ringRight = -99;  // only the cursor ring lies at y = -0.1
    for (const FeedbackVertex& v : verticesOf(polygons)) {
        if (std::fabs(v.y + 0.1f) < 0.001f) {
            ringLeft = std::min(ringLeft, v.x);
            ringRight = std::max(ringRight, v.x);
        }
    }
    EXPECT_NEAR(ringLeft, -1.1f, 0.002f);
    EXPECT_NEAR(ringRight, 1.1f, 0.002f);

    model->nodeMap->drawMap();
    EXPECT_TRUE(looksLike(view.colourAt(0.5f, 0.3f), 0.3f, 0.3f, 0.3f));  // the seed's tile
    glEnable(GL_LIGHTING);  // the caps show their owners' hues under the game's light
    view.clear();
    model->nodeMap->drawMap();
    for (int i = 0; i < 2; ++i) {
        const Point home = centreOf(model->nodes[i]->gridX, model->nodes[i]->gridZ);
        const Rgb cap = i == 0 ? Rgb{1, 0.6f, 0.6f} : Rgb{0.6f, 0.6f, 1};
        EXPECT_TRUE(looksLike(view.colourAt(home.x, home.z), cap[0], cap[1], cap[2])) << i;
    }
}

}  // namespace
