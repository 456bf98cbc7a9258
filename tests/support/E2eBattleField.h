#pragma once
// The battle screen as an end-to-end test sees it on the test screen: the
// fixed camera from (0, 5000, 10000) towards the middle of the field, y up.
// The lanes run along z, side by side from x = -2500 to 2500; the attacking
// side's base end is the near one.
#include <functional>

#include "support/E2eGame.h"
#include "support/E2eMap.h"

constexpr double kAttackerBaseZ = 5000;
constexpr double kDefenderBaseZ = -5000;

// The screen rectangle around the ground the lanes cover.
ScreenRect fieldBox();
// Pixels on the ground the lanes cover, a trapezoid symmetric about the middle
// of the screen; the battle panels reach into its box, but not onto it.
int countOnField(const Picture& picture, const std::function<bool(Pixel)>& test);
// Where the attacking side's units walk in lane 0 during the first half of
// their way.
ScreenRect attackerHalfOfLane0();
// A ship's health bar floats above its base end; it shrinks towards the left.
ScreenRect healthBarBox(double baseZ);
