#include <GL/gl.h>

#include <algorithm>

#include "battle/Battle.h"
#include "battle/Lane.h"
#include "game/Ship.h"
#include "render/Palette.h"

namespace {

constexpr Colour kBaseColours[kPlayerCount] = {{1.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 1.0f}};
constexpr float kLaneSpacing = 1000;
constexpr float kFirstLaneX = -2000;
constexpr float kFieldHalfWidth = 2500;  // the five lanes side by side
constexpr float kBaseEnd = 5000;         // z of the attacking side's base end
constexpr float kBaseDepth = 300;
constexpr float kGroundY = -100;
constexpr float kBarHeight = 500;  // a ship's health bar floats above its base
constexpr float kBarHalfDepth = 100;

// A strip across all lanes at a side's base end, reaching 300 into the field.
// baseZ is the base end, inward is +1 or -1 towards the middle of the field.
void drawBase(const Ship* ship, float baseZ, float inward) {
    glPushMatrix();
    setColour(kBaseColours[colourIndex(ship->owner)]);
    glTranslatef(0, 0, baseZ);
    glBegin(GL_QUADS);
    glVertex3f(-kFieldHalfWidth, kGroundY, 0);
    glVertex3f(kFieldHalfWidth, kGroundY, 0);
    glVertex3f(kFieldHalfWidth, kGroundY, inward * kBaseDepth);
    glVertex3f(-kFieldHalfWidth, kGroundY, inward * kBaseDepth);
    glEnd();
    glPopMatrix();
}

// Full health spans the whole field; the bar shrinks towards the left edge.
// A ship can end a step below 0 health, and the bar then stays at the edge.
void drawHealthBar(const Ship* ship, float baseZ) {
    const double share = std::clamp(static_cast<double>(ship->health) / kFullHealth, 0.0, 1.0);
    const float right = static_cast<float>(share * 2 * kFieldHalfWidth - kFieldHalfWidth);
    glPushMatrix();
    glTranslatef(0, kBarHeight, baseZ);
    glBegin(GL_QUADS);
    glVertex3f(-kFieldHalfWidth, 0, -kBarHalfDepth);
    glVertex3f(-kFieldHalfWidth, 0, kBarHalfDepth);
    glVertex3f(right, 0, kBarHalfDepth);
    glVertex3f(right, 0, -kBarHalfDepth);
    glEnd();
    glPopMatrix();
}

}  // namespace

void Battle::draw() {
    for (int i = 0; i < kLaneCount; ++i) {
        glPushMatrix();
        glTranslatef(kFirstLaneX + kLaneSpacing * static_cast<float>(i), 0, 0);
        lanes[i]->draw();
        glPopMatrix();
    }
    drawBase(attacker, kBaseEnd, -1);
    drawBase(defender, -kBaseEnd, 1);
    setColour(kGreen);
    drawHealthBar(defender, -kBaseEnd);
    drawHealthBar(attacker, kBaseEnd);
}
