#include "support/E2eGame.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

constexpr int kFirstWindowWidth = 500;
constexpr int kFirstWindowHeight = 400;

std::string currentTestName() {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    if (info == nullptr) {
        return "outside-a-test";
    }
    return std::string(info->test_suite_name()) + "." + info->name();
}

}  // namespace

bool isTitleBoard(Pixel p) {
    return p.r >= 230 && p.b >= 230 && p.g >= 120 && p.g <= 200;
}

bool showsFullScreenTitle(const Picture& picture) {
    // Until the switch to full screen the window keeps its first size at the
    // top-left corner, and the board lies inside that; a full-screen board is
    // centred on the screen.
    constexpr int kEnoughPixels = 5000;
    const ScreenRect centre{kFirstWindowWidth, kFirstWindowHeight, picture.width(),
                            picture.height()};
    return picture.count(centre, isTitleBoard) >= kEnoughPixels;
}

GameOnScreen::GameOnScreen(const std::string& artefactRoot)
    : folder_(artefactRoot + "/" + currentTestName()) {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
    std::filesystem::create_directories(folder_, ignored);
}

GameOnScreen::~GameOnScreen() {
    // The program first: it would notice its display going away and fail.
    program_.stop();
    session_.reset();
}

::testing::AssertionResult GameOnScreen::startServer() {
    if (!server_.start(kScreenWidth, kScreenHeight, folder_ + "/xvfb.log", kStartLimit)) {
        return ::testing::AssertionFailure() << "no X server: " << server_.error();
    }
    session_ = std::make_unique<XSession>(server_.display());
    if (!session_->connected()) {
        return ::testing::AssertionFailure() << "cannot connect to " << server_.display();
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult GameOnScreen::startProgram(const std::string& binary,
                                                      const std::vector<std::string>& arguments,
                                                      const std::vector<std::string>& environment) {
    ChildOptions options;
    options.environment = environment;
    options.environment.push_back("DISPLAY=" + server_.display());
    // In a sanitizer build the leak check at exit would find the software
    // rasteriser's generated code, which no suppression can name, and turn
    // Escape's status 0 into 1. The later option wins; other builds ignore it.
    const char* asanOptions = std::getenv("ASAN_OPTIONS");
    options.environment.push_back(std::string("ASAN_OPTIONS=") +
                                  (asanOptions != nullptr ? asanOptions : "") + ":detect_leaks=0");
    std::vector<std::string> command{binary};
    command.insert(command.end(), arguments.begin(), arguments.end());
    if (!program_.start(command, options)) {
        return ::testing::AssertionFailure()
               << "cannot start " << binary << ": " << program_.error();
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult GameOnScreen::waitForFullScreen(WindowInfo* window) {
    const bool fullScreen = waitUntil(
        [&] {
            *window = session_->findWindow(kWindowTitle);
            return window->width == kScreenWidth || program_.hasExited();
        },
        kStartLimit);
    if (program_.hasExited()) {
        return ::testing::AssertionFailure()
               << "the program ended at start-up with status " << program_.exitStatus();
    }
    if (!fullScreen) {
        return ::testing::AssertionFailure()
               << "no full-screen window titled " << kWindowTitle << "; found one of "
               << window->width << "x" << window->height;
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult GameOnScreen::waitForTitle(WindowInfo* window) {
    const ::testing::AssertionResult fullScreen = waitForFullScreen(window);
    if (!fullScreen) {
        return fullScreen;
    }
    Picture title;
    return snapUntil("title", showsFullScreenTitle, kStartLimit, &title);
}

Picture GameOnScreen::snap(const std::string& step) {
    Picture picture = session_->capture();
    picture.savePng(savePath(step));
    return picture;
}

::testing::AssertionResult GameOnScreen::snapUntil(
    const std::string& step, const std::function<bool(const Picture&)>& wanted, Millis limit,
    Picture* result) {
    const bool reached = waitUntil(
        [&] {
            *result = session_->capture();
            return !result->empty() && wanted(*result);
        },
        limit);
    const std::string path = savePath(step);
    result->savePng(path);
    if (!reached) {
        return ::testing::AssertionFailure() << "step '" << step << "' not reached within "
                                             << limit.count() << " ms; last screenshot: " << path;
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult GameOnScreen::exitsWithZeroOn(const std::string& keyName) {
    if (!session_->pressKey(keyName)) {
        return ::testing::AssertionFailure() << "xdotool could not press " << keyName;
    }
    if (!program_.waitForExit(kExitLimit)) {
        snap("still-running-after-" + keyName);
        return ::testing::AssertionFailure()
               << "still running " << kExitLimit.count() << " ms after " << keyName;
    }
    if (program_.exitStatus() != 0) {
        return ::testing::AssertionFailure() << "ended with status " << program_.exitStatus()
                                             << " (negative: killed by that signal)";
    }
    return ::testing::AssertionSuccess();
}

std::string GameOnScreen::savePath(const std::string& step) {
    char number[16];
    std::snprintf(number, sizeof number, "%02d", ++steps_);
    return folder_ + "/" + number + "-" + step + ".png";
}
