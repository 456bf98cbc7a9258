#include <GL/gl.h>

#include "battle/Unit.h"
#include "game/Model.h"
#include "render/Palette.h"

namespace {

constexpr int kClockPerDegree = 10;  // every unit turns one degree per tick
constexpr int kFullTurn = 360;

// A square pyramid without a base: apex (0, 100, 0), base corners
// (+-100, -100, +-100). One list holds the faces turned to +z and -z, the other
// those turned to +x and -x.
void compileOwnerFaces() {
    glPushMatrix();
    glBegin(GL_TRIANGLES);
    glVertex3f(0, 100, 0);
    glVertex3f(-100, -100, 100);
    glVertex3f(100, -100, 100);
    glVertex3f(0, 100, 0);
    glVertex3f(100, -100, -100);
    glVertex3f(-100, -100, -100);
    glEnd();
    glPopMatrix();
}

void compileKindFaces() {
    glPushMatrix();
    glBegin(GL_TRIANGLES);
    glVertex3f(0, 100, 0);
    glVertex3f(100, -100, 100);
    glVertex3f(100, -100, -100);
    glVertex3f(0, 100, 0);
    glVertex3f(-100, -100, -100);
    glVertex3f(-100, -100, 100);
    glEnd();
    glPopMatrix();
}

// A flat bar 200 wide standing above the apex; scaling x shrinks it towards
// the unit's axis.
void compileHealthBar() {
    glBegin(GL_QUADS);
    glVertex3f(-100, 100, 0);
    glVertex3f(-100, 150, 0);
    glVertex3f(100, 150, 0);
    glVertex3f(100, 100, 0);
    glEnd();
}

}  // namespace

void Unit::buildLists() {
    if (listsBuilt || !contextIsCurrent()) {
        return;
    }
    compileList(unitOwnerFacesList, "Unit", compileOwnerFaces);
    compileList(unitKindFacesList, "Unit", compileKindFaces);
    compileList(unitHealthBarList, "Unit", [this] {
        setMaterial(kGreen, kPlainFactors);
        applyMaterial();
        compileHealthBar();
    });
    listsBuilt = true;
}

// All units turn in step with the clock; the health bar does not turn.
void Unit::draw() {
    if (!haveLists(listsBuilt)) {
        return;
    }
    const int spin = (Model::getSelf()->clock / kClockPerDegree) % kFullTurn;
    glPushMatrix();
    glRotatef(static_cast<float>(spin), 0, 1, 0);
    setKindColour(kind);
    applyMaterial();
    glCallList(unitKindFacesList);
    const Colour& side = kPlayerDark[colourIndex(owner)];
    setMaterial(side, kPlainFactors);
    applyMaterial();
    glCallList(unitOwnerFacesList);
    glPopMatrix();

    const float healthShare =
        maxHealth > 0 ? static_cast<float>(health) / static_cast<float>(maxHealth) : 0.0f;
    glPushMatrix();
    glScalef(healthShare, 1, 1);
    glCallList(unitHealthBarList);
    glPopMatrix();
}

void Unit::drawAt() {
    glPushMatrix();
    glTranslatef(0, 0, static_cast<float>(position));
    draw();
    glPopMatrix();
}
