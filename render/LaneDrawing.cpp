#include <GL/gl.h>

#include "battle/Lane.h"
#include "battle/Unit.h"
#include "render/Palette.h"

namespace {

constexpr Colour kLaneColour{0.9f, 0.5f, 0.3f};
constexpr Colour kCursorColour{0.5f, 0.5f, 1.0f};
constexpr float kHalfWidth = 500;    // a lane is 1000 wide
constexpr float kHalfLength = 5000;  // from a base end to the middle of the lane
constexpr float kLaneY = -100;       // the lanes lie below the units' feet

// Half a lane from its base end (z = 0) to the middle (z = 5000).
void compilePlainHalf() {
    glBegin(GL_QUADS);
    setColour(kLaneColour);
    glVertex3f(-kHalfWidth, kLaneY, 0);
    glVertex3f(kHalfWidth, kLaneY, 0);
    glVertex3f(kHalfWidth, kLaneY, kHalfLength);
    glVertex3f(-kHalfWidth, kLaneY, kHalfLength);
    glEnd();
}

// The same half shaded from the cursor colour at the base end to the lane
// colour at the middle, for the lane a side's cursor is on.
void compileHighlightedHalf() {
    glBegin(GL_TRIANGLES);
    setColour(kCursorColour);
    glVertex3f(-kHalfWidth, kLaneY, 0);
    glVertex3f(kHalfWidth, kLaneY, 0);
    setColour(kLaneColour);
    glVertex3f(kHalfWidth, kLaneY, kHalfLength);
    glVertex3f(-kHalfWidth, kLaneY, kHalfLength);
    glVertex3f(kHalfWidth, kLaneY, kHalfLength);
    setColour(kCursorColour);
    glVertex3f(-kHalfWidth, kLaneY, 0);
    glEnd();
}

// Moves the origin to a side's base end, turned so that the side's positions
// run along +z towards the enemy.
void enterSide(bool attackerSide) {
    if (attackerSide) {
        glTranslatef(0, 0, kHalfLength);
        glRotatef(180, 0, 1, 0);
    } else {
        glTranslatef(0, 0, -kHalfLength);
    }
}

void drawHalf(bool attackerSide, bool highlighted) {
    glPushMatrix();
    enterSide(attackerSide);
    glCallList(highlighted ? Lane::laneHighlightList : Lane::laneList);
    glPopMatrix();
}

void drawUnits(Unit* const* units, int count, bool attackerSide) {
    glPushMatrix();
    enterSide(attackerSide);
    for (int i = 0; i < count; ++i) {
        units[i]->drawAt();
    }
    glPopMatrix();
}

}  // namespace

void Lane::buildLists() {
    if (listsBuilt || !contextIsCurrent()) {
        return;
    }
    compileList(laneList, "Lane", compilePlainHalf);
    compileList(laneHighlightList, "Lane", compileHighlightedHalf);
    listsBuilt = true;
}

// Lanes and units are drawn unlit: the units keep the colour of their last
// material, and the highlight's shading runs from vertex to vertex.
void Lane::draw() {
    if (!haveLists(listsBuilt)) {
        return;
    }
    glDisable(GL_LIGHTING);
    glShadeModel(GL_SMOOTH);
    drawHalf(true, attackerCursor);
    drawHalf(false, defenderCursor);
    drawUnits(attackerUnits, attackerCount, true);
    drawUnits(defenderUnits, defenderCount, false);
    glEnable(GL_LIGHTING);
    glShadeModel(GL_FLAT);
}
