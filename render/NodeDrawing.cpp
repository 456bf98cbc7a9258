#include <GL/gl.h>

#include <cmath>

#include "game/Model.h"
#include "game/Node.h"
#include "game/Player.h"
#include "render/HexagonGeometry.h"
#include "render/Palette.h"

namespace {

constexpr float kKindMarkScale = 0.9f;
constexpr float kKindMarkLift = 0.05f;
constexpr float kKindMarkUnderlay = -0.075f;
constexpr float kOwnerCapScale = 0.6f;
constexpr float kOwnerCapLift = 0.1f;
constexpr float kOwnerRimScale = 1.2f;
constexpr float kOwnerRimDrop = -0.01f;  // just under the tile, so only the band shows

constexpr Colour kTileColour{0.3f, 0.3f, 0.3f};
// clock grows by 10 a tick, so the selected tile pulses about every 126 ticks.
constexpr float kPulseClockDivisor = 200.0f;

// A triangle over the tile's C3-C4-C5 side, and a smaller hexagon in the same
// colour lowered under the tile, where it stays hidden from above.
void emitKindMark(float h) {
    glPushMatrix();
    glScalef(kKindMarkScale, 1, kKindMarkScale);
    glBegin(GL_TRIANGLES);
    hexVertex(4, h + kKindMarkLift);
    hexVertex(5, h + kKindMarkLift);
    hexVertex(3, h + kKindMarkLift);
    glEnd();
    glTranslatef(0, kKindMarkUnderlay, 0);
    emitHexagon(h);
    glPopMatrix();
}

// Brightness of a selected tile: between 0.5 and 1, 0.75 when clock is 0.
float pulseBrightness(int clock) {
    const float wave = std::sin(static_cast<float>(clock) / kPulseClockDivisor);
    return 0.5f + 0.5f * (0.5f + 0.5f * wave);
}

// The full-strength white light washes both owners' pale colours out to the
// same white. The cap gives its colour off as emission instead, which no light
// changes, and reflects nothing. Switching the lighting off for it would do as
// well, but every switch costs the software rasteriser memory it keeps.
void callGlowing(const Colour& c, unsigned list) {
    const GLfloat glow[4] = {c.r, c.g, c.b, 1};
    const GLfloat none[4] = {0, 0, 0, 1};
    glMaterialfv(GL_FRONT, GL_EMISSION, glow);
    glMaterialfv(GL_FRONT, GL_SPECULAR, none);
    glColor4fv(none);  // ambient and diffuse follow the colour
    glCallList(list);
    glMaterialfv(GL_FRONT, GL_EMISSION, none);
}

}  // namespace

void Node::buildLists() {
    if (listsBuilt || !contextIsCurrent()) {
        return;
    }
    const float h = baseHeight;
    compileList(tileList, "Node", [h] { emitHexagon(h); });
    compileList(kindMarkList, "Node", [h] { emitKindMark(h); });
    compileList(ownerCapList, "Node",
                [h] { emitScaledHexagon(kOwnerCapScale, h + kOwnerCapLift); });
    compileList(ownerRimList, "Node",
                [h] { emitScaledHexagon(kOwnerRimScale, h + kOwnerRimDrop); });
    listsBuilt = true;
}

void Node::draw() {
    if (!haveLists(listsBuilt)) {
        return;
    }
    const int side = colourIndex(owner);
    if (owner != nullptr && (owner->homeNode == this || showOwner)) {
        const Colour dark = kPlayerDark[side];
        setMaterial(dark, kPlainFactors);
        applyMaterial();
        glCallList(ownerRimList);
    }

    if (selected) {
        const float b = pulseBrightness(Model::getSelf()->clock);
        setMaterial(Colour{b, b, b}, kFullFactors);
    } else {
        setMaterial(kTileColour, kPlainFactors);
    }
    applyMaterial();
    glCallList(tileList);

    // The tile's material replaced the kind colour; the mark brings it back.
    setMaterial(kindColour(kind), kPlainFactors);
    applyMaterial();
    glCallList(kindMarkList);

    if (owner == nullptr) {
        return;
    }
    callGlowing(kPlayerLight[side], ownerCapList);
}

void Node::drawAt() {
    glPushMatrix();
    glTranslated(gridX * kCellWidth, 0, gridZ * kCellDepth);
    draw();
    glPopMatrix();
}
