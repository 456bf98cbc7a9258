#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cmath>

#include "app/Menu.h"
#include "app/Screens.h"
#include "game/Model.h"
#include "game/Player.h"
#include "support/GlContext.h"
#include "support/PerFrameScenes.h"
#include "support/World.h"

namespace {

class ScreensTest : public ::testing::Test {
protected:
    void SetUp() override { model = buildWholeGame(11, kTestWindowWidth, kTestWindowHeight); }
    void TearDown() override { Model::resetSelf(); }

    Model* model = nullptr;
};

bool near(const Rgb& colour, float r, float g, float b, float tolerance = 0.01f) {
    return std::fabs(colour[0] - r) <= tolerance && std::fabs(colour[1] - g) <= tolerance &&
           std::fabs(colour[2] - b) <= tolerance;
}

// Counts the window's pixels of one colour.
int countPixels(float r, float g, float b) {
    static float pixels[kTestWindowWidth * kTestWindowHeight * 3];
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, kTestWindowWidth, kTestWindowHeight, GL_RGB, GL_FLOAT, pixels);
    int count = 0;
    for (int i = 0; i < kTestWindowWidth * kTestWindowHeight; ++i) {
        if (near({pixels[3 * i], pixels[3 * i + 1], pixels[3 * i + 2]}, r, g, b)) {
            ++count;
        }
    }
    return count;
}

TEST_F(ScreensTest, EndScreenShowsTheWinnersColourWithWinInWhite) {
    model->screen = EndScreen;
    for (const int loser : {1, 0}) {
        model->loser = static_cast<unsigned char>(loser);
        drawFrame();
        const float r = loser == 1 ? 0.6f : 0.2f;
        const float b = loser == 1 ? 0.2f : 0.6f;
        // A corner of the square, away from the text.
        EXPECT_TRUE(
            near(readPixel(kTestWindowWidth / 2 - 60, kTestWindowHeight / 2 - 60), r, 0.2f, b))
            << "loser " << loser;
        const int square = countPixels(r, 0.2f, b);
        const int white = countPixels(1, 1, 1);
        // A 60-wide square seen from 100 away covers about a fifth of the window.
        EXPECT_GT(square, kTestWindowWidth * kTestWindowHeight / 6) << "loser " << loser;
        EXPECT_GT(white, 50) << "the white WIN is drawn";
        EXPECT_EQ(countPixels(0.6f, 0.2f, 0.2f) + countPixels(0.2f, 0.2f, 0.6f), square)
            << "only the winner's colour shows";
    }
    glEnable(GL_LIGHTING);
}

TEST_F(ScreensTest, TitleScreenDrawsTheBoardOnlyOnceItHasItsScheme) {
    resetFrame();
    Menu board;
    board.draw();
    EXPECT_EQ(countPixels(0, 0, 0), kTestWindowWidth * kTestWindowHeight)
        << "a board without its scheme draws nothing";

    drawFrame();
    EXPECT_TRUE(model->menu->visible);
    const Rgb centre = readPixel(kTestWindowWidth / 2, kTestWindowHeight / 2 + 40);
    EXPECT_GT(centre[0], centre[1] + 0.2f) << "the board is magenta, lit";
    EXPECT_GT(centre[2], centre[1] + 0.2f);
    // The title text is white and lies on the board.
    EXPECT_GT(countPixels(1, 1, 1) + countPixels(0.99f, 0.99f, 0.99f), 0);
}

// While the host waits, its title board says so, and the words stay on the
// board at 4:3, 5:4, 16:9 and 21:9: nothing lit lies beside it.
TEST_F(ScreensTest, TheWaitingWordsFitTheTitleBoardOnCommonWindowShapes) {
    model->waitingForPeer = true;
    for (const auto& [width, height] :
         {std::pair{320, 240}, std::pair{300, 240}, std::pair{320, 180}, std::pair{320, 137}}) {
        model->windowWidth = width;
        model->windowHeight = height;
        drawFrame();
        static float rgb[kTestWindowWidth * kTestWindowHeight * 3];
        glReadPixels(0, 0, kTestWindowWidth, kTestWindowHeight, GL_RGB, GL_FLOAT, rgb);
        const auto column = [](int i) { return i % kTestWindowWidth; };
        int left = kTestWindowWidth, right = -1, lit = 0;
        for (int i = 0; i < kTestWindowWidth * kTestWindowHeight; ++i) {
            const float* p = rgb + 3 * i;
            if (p[0] > p[1] + 0.2f && p[2] > p[1] + 0.2f) {  // the lit magenta board
                left = std::min(left, column(i));
                right = std::max(right, column(i));
            }
        }
        for (int i = 0; i < kTestWindowWidth * kTestWindowHeight; ++i) {
            const float* p = rgb + 3 * i;
            lit += p[0] + p[1] + p[2] > 0.1f && (column(i) < left || column(i) > right) ? 1 : 0;
        }
        EXPECT_GT(right - left, width / 5) << width << "x" << height;
        EXPECT_EQ(lit, 0) << width << "x" << height;
        EXPECT_GT(countPixels(1, 1, 1), 0) << "the words are drawn";
    }
}

TEST_F(ScreensTest, ClockGrowsByTenPerTickAndNotByDrawingOnEveryScreen) {
    for (const int screen : {0, 2, 6, 3, -1}) {
        model->screen = static_cast<Screen>(screen);
        const int before = model->clock;
        drawFrame();
        EXPECT_EQ(model->clock, before) << "screen " << screen;
        playFrame(3);
        EXPECT_EQ(model->clock, before + 30) << "screen " << screen;
    }
    glEnable(GL_LIGHTING);
    model->screen = static_cast<Screen>(3);
    drawFrame();
    EXPECT_EQ(countPixels(0, 0, 0), kTestWindowWidth * kTestWindowHeight)
        << "an unknown screen shows a cleared frame";
}

TEST_F(ScreensTest, ReshapeKeepsOnlyPositiveSizesAndTheNextFrameUsesThem) {
    onReshape(0, 768);
    onReshape(1024, 0);
    onReshape(-3, 700);
    EXPECT_EQ(model->windowWidth, kTestWindowWidth);
    EXPECT_EQ(model->windowHeight, kTestWindowHeight);

    onReshape(1024, 768);
    EXPECT_EQ(model->windowWidth, 1024);
    EXPECT_EQ(model->windowHeight, 768);
    model->screen = MapScreen;
    drawFrame();
    GLfloat projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    EXPECT_NEAR(projection[5] / projection[0], 1024.0 / 768.0, 1e-5);
    EXPECT_NEAR(projection[5], 1 / std::tan(M_PI / 6), 1e-5);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 1024);
    EXPECT_EQ(viewport[3], 768);
}

TEST_F(ScreensTest, CamerasSwayWithThePointer) {
    model->screen = MapScreen;
    model->pointerX = 0.5f;
    model->pointerY = -0.25f;
    drawFrame();
    // After the map frame the model-view matrix still starts with the camera;
    // compare with the eye the map camera must use.
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const double centreX = model->mapCenterX * 1.6;
    const double centreZ = model->mapCenterZ * 1.3;
    gluLookAt(centreX - 5, model->viewHeight, centreZ - 2.5, centreX, 0, centreZ, 0, 0, -1);
    GLfloat expected[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, expected);
    drawMapScreen();
    // drawMapScreen leaves the camera on the stack top after the ships (each
    // ship restores what it changes).
    GLfloat actual[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, actual);
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(actual[i], expected[i], 1e-4) << i;
    }
}

// A turn end requested, a battle that its next step decides: drawing leaves
// both for the tick, and changes nothing else the rules read either.
TEST_F(ScreensTest, DrawingChangesNothingTheRulesRead) {
    perframe::showMapInPlay();
    model->endTurnRequested = true;
    std::uint64_t before = model->stateHash();
    drawFrame();
    EXPECT_EQ(model->stateHash(), before) << "the map";
    model->endTurnRequested = false;

    Battle* battle = perframe::showBattle();
    battle->defender->health = 1;
    before = model->stateHash();
    drawFrame();
    EXPECT_EQ(model->stateHash(), before) << "the battle";
    EXPECT_EQ(model->battle, battle);
}

}  // namespace
