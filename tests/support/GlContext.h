#pragma once
// Drawing tests run in a process whose main opens one small GLUT window with the
// game's OpenGL state before any test (and so before any drawable) exists.
#include <array>
#include <functional>

constexpr int kTestWindowWidth = 320;
constexpr int kTestWindowHeight = 240;

using Rgb = std::array<float, 3>;

// Colour of one pixel of the back buffer, (0, 0) at the bottom left.
Rgb readPixel(int x, int y);

// Runs body with no OpenGL context current, as code that runs before the
// game's window opens, and makes the test window's context current again.
void withoutContext(const std::function<void()>& body);

// Clears colour and depth and loads identity projection and model-view matrices.
void resetFrame();
