#pragma once
// One run of the program on an X screen of its own, as an end-to-end test sees
// it: startServer() and startProgram() bring up Xvfb and the program,
// waitForTitle() waits for the first full-screen title frame, snap() and
// snapUntil() take the screenshots (every one is saved under the test's name in
// the artefact folder), and the destructor ends the program and the server,
// also when the test failed half-way.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "support/E2eDisplay.h"
#include "support/E2ePicture.h"
#include "support/E2eProcess.h"

constexpr int kScreenWidth = 1280;
constexpr int kScreenHeight = 1024;
constexpr const char* kWindowTitle = "Karvossa!";

// Start-up grows the map and may play a record through, which takes a while
// in a sanitizer build on a loaded machine; later steps wait for a frame or
// two. Every wait ends as soon as its picture shows, so a generous limit
// costs a passing run nothing.
constexpr Millis kStartLimit{40000};
constexpr Millis kFrameLimit{15000};
constexpr Millis kExitLimit{5000};

// The panels and help lines are laid out for 16:10 and shrink towards the
// middle of narrower screens such as this 5:4 one: a rectangle measured on the
// 1280-wide layout, as it stands here.
constexpr ScreenRect shrunkToTestScreen(const ScreenRect& laidOut) {
    constexpr int kShrink = 78125;  // (5 / 4) / (16 / 10), in hundred-thousandths
    const auto towardsMiddle = [](int pixel, int middle) {
        return middle + (pixel - middle) * kShrink / 100000;
    };
    return {towardsMiddle(laidOut.left, kScreenWidth / 2),
            towardsMiddle(laidOut.top, kScreenHeight / 2),
            towardsMiddle(laidOut.right, kScreenWidth / 2),
            towardsMiddle(laidOut.bottom, kScreenHeight / 2)};
}

// The end-turn line of the map screen, in the colour of the player on turn.
constexpr ScreenRect kEndTurnLine = shrunkToTestScreen({290, 85, 1050, 175});
// The middle of the screen, clear of the side panels' spinning pictures, whose
// reach is some 200 pixels from the sides.
constexpr ScreenRect kStillPart{240, 0, 1040, kScreenHeight};

// The title board: lit, its colour shows as a flat light magenta.
bool isTitleBoard(Pixel p);
// The title drawn in a window that fills the screen, not yet in the first,
// smaller window.
bool showsFullScreenTitle(const Picture& picture);

class GameOnScreen {
public:
    // Screenshots go to artefactRoot/<suite>.<test>/.
    explicit GameOnScreen(const std::string& artefactRoot);
    ~GameOnScreen();
    GameOnScreen(const GameOnScreen&) = delete;
    GameOnScreen& operator=(const GameOnScreen&) = delete;

    // Starts the X server and connects to it.
    ::testing::AssertionResult startServer();
    // Starts the program on that server with these arguments, and these
    // "NAME=value" entries on top of the test's environment.
    ::testing::AssertionResult startProgram(const std::string& binary,
                                            const std::vector<std::string>& arguments = {},
                                            const std::vector<std::string>& environment = {});

    // Waits until the window covers the screen.
    ::testing::AssertionResult waitForFullScreen(WindowInfo* window);
    // Waits until the window covers the screen and shows the title board.
    ::testing::AssertionResult waitForTitle(WindowInfo* window);

    // Takes a screenshot now and saves it as the next step.
    Picture snap(const std::string& step);

    // Takes screenshots until wanted holds or limit has passed, saves the last
    // one as the next step and hands it back in result.
    ::testing::AssertionResult snapUntil(const std::string& step,
                                         const std::function<bool(const Picture&)>& wanted,
                                         Millis limit, Picture* result);

    // Presses the key and waits for the program to end; succeeds only for exit
    // status 0.
    ::testing::AssertionResult exitsWithZeroOn(const std::string& keyName);

    XSession& screen() { return *session_; }
    ChildProcess& program() { return program_; }
    const std::string& artefactFolder() const { return folder_; }

private:
    std::string savePath(const std::string& step);

    std::string folder_;
    int steps_ = 0;
    XServer server_;
    std::unique_ptr<XSession> session_;
    ChildProcess program_;  // declared last, so it ends before the server
};
