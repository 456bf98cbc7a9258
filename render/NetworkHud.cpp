#include <GL/gl.h>

#include "game/Model.h"
#include "render/Hud.h"
#include "render/Palette.h"
#include "render/StrokeText.h"

namespace {

constexpr float kYouHalfWidth = 110;       // font units
constexpr float kWaitingHalfWidth = 1040;  // font units, of the words at full size
constexpr float kWaitingY = 0.55f;         // eye units, between the help line and the map
constexpr float kWaitingDepth = -2;
constexpr float kWaitingScale = 0.8f;

}  // namespace

void Hud::drawYou(const float (&sideX)[2], float y, float depth, float scale) {
    const int side = Model::getSelf()->networkSide();
    if (side < 0) {
        return;
    }
    // Over the panel's spinning ship, which reaches into its line at some
    // turns; it still writes its depth, so that the map drawn later stays behind.
    glPushAttrib(GL_DEPTH_BUFFER_BIT);
    glDepthFunc(GL_ALWAYS);
    glPushMatrix();
    glTranslatef(sideX[side], y, depth);
    glScalef(scale, scale, scale);
    setColour(kPlayerDark[side]);
    Hud::scaleToText();
    glTranslatef(-kYouHalfWidth, 0, 0);
    drawWords({"you"}, 30, 0);
    glPopMatrix();
    glPopAttrib();
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
    writeWaiting();
    glPopMatrix();
}

void Hud::writeWaiting() {
    glPushMatrix();
    glScalef(kWaitingScale, kWaitingScale, kWaitingScale);
    glTranslatef(-kWaitingHalfWidth, 0, 0);
    drawWords({"waiting", "for", "the", "other", "player"}, 30, 80);
    glPopMatrix();
}
