// The real program on a screen of its own: the window it opens, how keys move
// it from the title to the map, that arrow keys do not, and how it ends.
#include <gtest/gtest.h>

#include "support/E2eGame.h"

namespace {

constexpr int kCentreX = kScreenWidth / 2;
constexpr int kCentreY = kScreenHeight / 2;

bool isPlayer0Text(Pixel p) {
    return p.r - p.b > 60;
}

bool showsMap(const Picture& picture) {
    constexpr int kLineStrokes = 200;
    return picture.count(picture.whole(), isTitleBoard) == 0 &&
           picture.count(kEndTurnLine, isPlayer0Text) >= kLineStrokes;
}

class RealProgram : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(game.startServer());
        // The title camera sways with the pointer; a fixed pointer keeps the
        // title picture still.
        ASSERT_TRUE(game.screen().movePointer(kCentreX, kCentreY));
    }

    void startOnTitle() {
        ASSERT_TRUE(game.startProgram(KARVOSSA_BINARY));
        ASSERT_TRUE(game.waitForTitle(&window));
    }

    void goToMap(Picture* map) {
        ASSERT_TRUE(game.screen().pressKey("x"));
        ASSERT_TRUE(game.snapUntil("map", showsMap, kFrameLimit, map));
    }

    // Presses each arrow key in turn and expects the picture from before. A
    // pointer move that comes after the key in the input queue proves the key
    // has been taken in once the picture changes; moving back must then bring
    // back exactly the picture from before. One key at a time, so that two keys
    // that undo each other cannot hide a change.
    void pressArrowsAndExpectNoChange(const Picture& before) {
        for (const char* key : {"Left", "Right", "Up", "Down"}) {
            SCOPED_TRACE(key);
            ASSERT_TRUE(game.screen().pressKey(key));
            Picture picture;
            ASSERT_TRUE(game.screen().movePointer(kCentreX + 60, kCentreY + 40));
            ASSERT_TRUE(game.snapUntil(
                std::string("pointer-moved-after-") + key,
                [&](const Picture& p) { return countDifferences(p, before, kStillPart) > 0; },
                kFrameLimit, &picture));
            ASSERT_TRUE(game.screen().movePointer(kCentreX, kCentreY));
            ASSERT_TRUE(game.snapUntil(
                std::string("pointer-back-after-") + key,
                [&](const Picture& p) { return countDifferences(p, before, kStillPart) == 0; },
                kFrameLimit, &picture))
                << countDifferences(picture, before, kStillPart) << " pixels differ";
        }
        EXPECT_FALSE(game.program().hasExited());
    }

    GameOnScreen game{KARVOSSA_ARTEFACTS};
    WindowInfo window;
};

TEST_F(RealProgram, OpensAFullScreenWindowTitledKarvossaWithThePointerHidden) {
    // The server's own cursor shows before the program runs, so an invisible
    // cursor later is the program's doing.
    ASSERT_GT(game.screen().visibleCursorPixels(), 0);

    ASSERT_TRUE(game.startProgram(KARVOSSA_BINARY));
    ASSERT_TRUE(game.waitForTitle(&window));

    EXPECT_EQ(window.x, 0);
    EXPECT_EQ(window.y, 0);
    EXPECT_EQ(window.width, game.screen().screenWidth());
    EXPECT_EQ(window.height, game.screen().screenHeight());
    EXPECT_TRUE(waitUntil([&] { return game.screen().visibleCursorPixels() == 0; }, kFrameLimit))
        << game.screen().visibleCursorPixels() << " cursor pixels show over the window";
}

TEST_F(RealProgram, ACharacterKeyLeavesTheTitleForTheMap) {
    ASSERT_NO_FATAL_FAILURE(startOnTitle());
    Picture map;
    ASSERT_NO_FATAL_FAILURE(goToMap(&map));
    EXPECT_FALSE(game.program().hasExited());
}

TEST_F(RealProgram, EscapeEndsTheProgramWithStatusZeroOnTheTitle) {
    ASSERT_NO_FATAL_FAILURE(startOnTitle());
    EXPECT_TRUE(game.exitsWithZeroOn("Escape"));
}

TEST_F(RealProgram, EscapeEndsTheProgramWithStatusZeroOnTheMap) {
    ASSERT_NO_FATAL_FAILURE(startOnTitle());
    Picture map;
    ASSERT_NO_FATAL_FAILURE(goToMap(&map));
    EXPECT_TRUE(game.exitsWithZeroOn("Escape"));
}

TEST_F(RealProgram, ArrowKeysLeaveTheTitleAsItWas) {
    ASSERT_NO_FATAL_FAILURE(startOnTitle());
    const Picture title = game.snap("title-before-arrows");
    ASSERT_NO_FATAL_FAILURE(pressArrowsAndExpectNoChange(title));
}

TEST_F(RealProgram, ArrowKeysLeaveTheMapAsItWas) {
    ASSERT_NO_FATAL_FAILURE(startOnTitle());
    Picture map;
    ASSERT_NO_FATAL_FAILURE(goToMap(&map));
    // Where the cell under the pointer has an odd sum the cursor keeps its last
    // cell, so the picture to come back to is the one after a first round trip.
    Picture moved;
    Picture before;
    ASSERT_TRUE(game.screen().movePointer(kCentreX + 60, kCentreY + 40));
    ASSERT_TRUE(game.snapUntil(
        "pointer-moved", [&](const Picture& p) { return countDifferences(p, map, kStillPart) > 0; },
        kFrameLimit, &moved));
    ASSERT_TRUE(game.screen().movePointer(kCentreX, kCentreY));
    ASSERT_TRUE(game.snapUntil(
        "pointer-back",
        [&](const Picture& p) { return countDifferences(p, moved, kStillPart) > 0; }, kFrameLimit,
        &before));
    ASSERT_NO_FATAL_FAILURE(pressArrowsAndExpectNoChange(before));
}

}  // namespace
