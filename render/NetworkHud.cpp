#include <GL/gl.h>

#include "game/Model.h"
#include "render/Hud.h"
#include "render/Palette.h"
#include "render/StrokeText.h"

namespace {

constexpr float kYouHalfWidth = 110;  // font units
constexpr float kWaitingY = 0.55f;    // eye units, between the help line and the map
constexpr float kWaitingDepth = -2;
constexpr float kWaitingScale = 0.8f;

}  // namespace

void Hud::drawYou(const float (&sideX)[2], float y, float depth, float scale) {
    const int side = Model::getSelf()->networkSide();
    if (side < 0) {
        return;
    }
    glPushMatrix();
    glTranslatef(sideX[side], y, depth);
    glScalef(scale, scale, scale);
    setColour(kPlayerDark[side]);
    Hud::scaleToText();
    glTranslatef(-kYouHalfWidth, 0, 0);
    drawWords({"you"}, 30, 0);
    glPopMatrix();
}

void Hud::drawWaiting() {
    if (!Model::getSelf()->waitingForPeer) {
        return;
    }
    glPushMatrix();
    Hud::fitToWindow();
    glTranslatef(0, kWaitingY, kWaitingDepth);
    setColour(kWhite);
    Hud::scaleToText();
    glScalef(kWaitingScale, kWaitingScale, kWaitingScale);
    glTranslatef(-kWaitingHalfWidth, 0, 0);
    writeWaiting();
    glPopMatrix();
}

void Hud::writeWaiting() {
    drawWords({"waiting", "for", "the", "other", "player"}, 30, 80);
}
