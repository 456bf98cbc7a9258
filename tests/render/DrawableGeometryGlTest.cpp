#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TopDownView.h"
#include "app/Menu.h"
#include "battle/Lane.h"
#include "battle/Unit.h"
#include "game/Model.h"
#include "game/Node.h"
#include "game/Ship.h"
#include "render/DrawableGeometry.h"
#include "render/Selector.h"
#include "render/StrokeText.h"
#include "support/GlContext.h"
#include "support/Guarded.h"

namespace {

struct Probe final : DrawableGeometry {
    void buildLists() override {}
    void draw() override {}
};

class DrawableGeometryTest : public ::testing::Test {
protected:
    void TearDown() override { Model::resetSelf(); }
};

void expectArray(const float* actual, std::initializer_list<float> expected) {
    int i = 0;
    for (float value : expected) {
        EXPECT_FLOAT_EQ(actual[i], value) << "component " << i;
        ++i;
    }
}

TEST_F(DrawableGeometryTest, SetMaterialScalesTheColourByEachFactor) {
    Probe probe;
    probe.setMaterial(0.5f, 0.5f, 0.5f, 1, 0.1f, 0.5f, 0.7f);
    expectArray(probe.colour, {0.5f, 0.5f, 0.5f, 1});
    expectArray(probe.specular, {0.05f, 0.05f, 0.05f, 1});
    expectArray(probe.diffuse, {0.25f, 0.25f, 0.25f, 1});
    expectArray(probe.ambient, {0.35f, 0.35f, 0.35f, 1});

    probe.setMaterial(0.2f, 0.4f, 0.8f, 0.5f, 1, 0, 2);
    expectArray(probe.specular, {0.2f, 0.4f, 0.8f, 0.5f});
    expectArray(probe.diffuse, {0, 0, 0, 0.5f});
    expectArray(probe.ambient, {0.4f, 0.8f, 1.6f, 0.5f});
}

TEST_F(DrawableGeometryTest, ApplyMaterialSendsTheArraysAndEndsWithTheColour) {
    Probe probe;
    probe.setMaterial(0.5f, 0.25f, 1, 1, 0.1f, 0.5f, 0.7f);

    glDisable(GL_COLOR_MATERIAL);
    probe.applyMaterial();
    float value[4];
    glGetMaterialfv(GL_FRONT, GL_SPECULAR, value);
    expectArray(value, {0.05f, 0.025f, 0.1f, 1});
    glGetMaterialfv(GL_FRONT, GL_DIFFUSE, value);
    expectArray(value, {0.25f, 0.125f, 0.5f, 1});
    glGetMaterialfv(GL_FRONT, GL_AMBIENT, value);
    expectArray(value, {0.35f, 0.175f, 0.7f, 1});
    glGetFloatv(GL_CURRENT_COLOR, value);
    expectArray(value, {0.5f, 0.25f, 1, 1});

    // With colour tracking on, the colour call comes last and wins for ambient
    // and diffuse, while specular keeps the array.
    glEnable(GL_COLOR_MATERIAL);
    probe.applyMaterial();
    glGetMaterialfv(GL_FRONT, GL_DIFFUSE, value);
    expectArray(value, {0.5f, 0.25f, 1, 1});
    glGetMaterialfv(GL_FRONT, GL_AMBIENT, value);
    expectArray(value, {0.5f, 0.25f, 1, 1});
    glGetMaterialfv(GL_FRONT, GL_SPECULAR, value);
    expectArray(value, {0.05f, 0.025f, 0.1f, 1});
}

// A node made before the window, as a record played through at start-up makes
// them, compiles nothing and leaves its class unbuilt; its first draw in the
// window builds the lists. Compiling without a context, or a list twice, is a
// mistake the check names.
TEST_F(DrawableGeometryTest, ANodeMadeWithoutAContextBuildsItsListsAtItsFirstDraw) {
    Node::listsBuilt = false;
    Node::tileList = Node::kindMarkList = Node::ownerCapList = Node::ownerRimList = 0;
    Node* node = nullptr;
    withoutContext([&node] {
        node = new Node(2);
        EXPECT_FALSE(Node::listsBuilt);
        EXPECT_GUARDED(compileList(Node::tileList, "Node", [] {}),
                       "Node compiled a display list with no OpenGL context");
    });
    EXPECT_EQ(Node::tileList, 0u);
    const TopDownView view(0, 0, 2);
    node->draw();
    EXPECT_TRUE(Node::listsBuilt);
    EXPECT_TRUE(looksLike(view.colourAt(0, 0), 0.3f, 0.3f, 0.3f)) << "the grey tile";
    EXPECT_GUARDED(compileList(Node::tileList, "Node", [] {}),
                   "Node compiled one of its display lists twice");
    delete node;
}

// Constructs two objects of a class and checks that the second compiles
// nothing: the next list id handed out follows the one taken just before.
template <typename Make>
void expectSecondObjectCompilesNothing(const char* name, Make make) {
    auto* first = make();
    const GLuint before = glGenLists(1);
    auto* second = make();
    const GLuint after = glGenLists(1);
    EXPECT_EQ(after, before + 1) << name << ": the second object allocated display lists";
    delete first;
    delete second;
}

TEST_F(DrawableGeometryTest, ListsAreBuiltOncePerClass) {
    expectSecondObjectCompilesNothing("Menu", [] { return new Menu(); });
    expectSecondObjectCompilesNothing("Node", [] { return new Node(2); });
    expectSecondObjectCompilesNothing("Selector", [] { return new Selector(); });
    expectSecondObjectCompilesNothing("Ship", [] { return new Ship(nullptr); });
    expectSecondObjectCompilesNothing("Lane", [] { return new Lane(); });
    expectSecondObjectCompilesNothing("Unit", [] { return new Unit(0, nullptr); });
    EXPECT_TRUE(Menu::listsBuilt && Node::listsBuilt && Selector::listsBuilt && Ship::listsBuilt &&
                Lane::listsBuilt && Unit::listsBuilt);
}

// Everything the stroke font draws, as GL feedback, plus the x translation the
// model-view matrix was left with.
struct Strokes {
    std::vector<GLfloat> feedback;
    float advance = 0;
};

template <typename Draw>
Strokes captureStrokes(Draw draw) {
    static GLfloat buffer[1 << 16];
    resetFrame();
    glMatrixMode(GL_PROJECTION);
    glOrtho(-1000, 10000, -1000, 1000, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glFeedbackBuffer(static_cast<GLsizei>(std::size(buffer)), GL_3D, buffer);
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint values = glRenderMode(GL_RENDER);
    Strokes strokes;
    strokes.feedback.assign(buffer, buffer + (values > 0 ? values : 0));
    GLfloat matrix[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, matrix);
    strokes.advance = matrix[12];
    return strokes;
}

Strokes glyphsWithExtraMoves(const std::string& text, float extraMove) {
    return captureStrokes([&] {
        for (char glyph : text) {
            glutStrokeCharacter(GLUT_STROKE_ROMAN, glyph);
            glTranslatef(extraMove, 0, 0);
        }
    });
}

float strokeWidth(const std::string& text) {
    float width = 0;
    for (char glyph : text) {
        width += glutStrokeWidthf(GLUT_STROKE_ROMAN, glyph);
    }
    return width;
}

TEST_F(DrawableGeometryTest, DrawNumberWritesTheDigitsWithAnExtraMoveAfterEach) {
    for (const int value : {120, 7, 2147483647, 1000000000}) {
        const std::string digits = std::to_string(value);
        const Strokes drawn = captureStrokes([value] { drawNumber(value); });
        const Strokes expected = glyphsWithExtraMoves(digits, 100);
        EXPECT_FALSE(drawn.feedback.empty());
        EXPECT_EQ(drawn.feedback, expected.feedback) << value;
        EXPECT_NEAR(drawn.advance, strokeWidth(digits) + 100.0f * digits.size(), 0.01) << value;
    }
}

TEST_F(DrawableGeometryTest, DrawNumberWritesZeroAsOneGlyphWithoutExtraMove) {
    const Strokes drawn = captureStrokes([] { drawNumber(0); });
    EXPECT_EQ(drawn.feedback, glyphsWithExtraMoves("0", 0).feedback);
    EXPECT_NEAR(drawn.advance, strokeWidth("0"), 0.01);
    // Two calls in a row: the kept buffer holds no leftovers of the longer number.
    captureStrokes([] { drawNumber(98765); });
    EXPECT_EQ(captureStrokes([] { drawNumber(12); }).feedback,
              glyphsWithExtraMoves("12", 100).feedback);
}

TEST_F(DrawableGeometryTest, DrawNumberShowsANegativeValueAsZero) {
    EXPECT_EQ(captureStrokes([] { drawNumber(-42); }).feedback,
              glyphsWithExtraMoves("0", 0).feedback);
}

}  // namespace
