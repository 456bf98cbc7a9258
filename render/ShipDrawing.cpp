#include <GL/gl.h>

#include <algorithm>

#include "game/Model.h"
#include "game/Node.h"
#include "game/NodeMap.h"
#include "game/Ship.h"
#include "render/Palette.h"
#include "render/Selector.h"

namespace {

constexpr float kDeckScale = 0.6f;   // deck and gauges, across both x and z
constexpr float kDeckLift = 0.1f;    // deck above the hull
constexpr float kGaugeLift = 0.11f;  // bars and health arrow just above the deck, never in it
constexpr float kDeckBowTip = 1.2f;
constexpr float kMovedDarkening = 0.4f;  // taken off each hull component once moved
constexpr double kStockBarWidth = 0.25;
constexpr Colour kDeckColour{0.0f, 0.0f, 0.0f};

// A unit square with a triangular bow; the bow's tip is at x = bowTip.
void emitPlate(float y, float bowTip) {
    glBegin(GL_QUADS);
    glVertex3f(-0.5f, y, -0.5f);
    glVertex3f(-0.5f, y, 0.5f);
    glVertex3f(0.5f, y, 0.5f);
    glVertex3f(0.5f, y, -0.5f);
    glEnd();
    glBegin(GL_TRIANGLES);
    glVertex3f(0.5f, y, -0.5f);
    glVertex3f(bowTip, y, 0);
    glVertex3f(0.5f, y, 0.5f);
    glEnd();
}

// One bar per unit kind, side by side across the ship, growing from the stern
// edge z = 0.5; a full stock reaches the far edge.
void emitStockBar(int kind, double fill, double y) {
    const double x0 = -0.5 + kStockBarWidth * kind;
    glBegin(GL_QUADS);
    glVertex3d(x0, y, 0.5);
    glVertex3d(x0, y, 0.5 - fill);
    glVertex3d(x0 + kStockBarWidth, y, 0.5 - fill);
    glVertex3d(x0 + kStockBarWidth, y, 0.5);
    glEnd();
}

// At full health one triangle covering the deck's bow; as health falls the tip
// draws back towards x = 0.6 while the back corners spread to the sides.
void emitHealthArrow(double fraction, double y) {
    const double tipX = 0.6 + 0.6 * fraction;
    const double innerZ = (fraction - 1) / 2;
    glBegin(GL_TRIANGLES);
    glVertex3d(0.5, y, -0.5);
    glVertex3d(tipX, y, innerZ);
    glVertex3d(0.5, y, 0);
    glVertex3d(tipX, y, innerZ);
    glVertex3d(0.5, y, 0);
    glVertex3d(tipX, y, -innerZ);
    glVertex3d(0.5, y, 0);
    glVertex3d(tipX, y, -innerZ);
    glVertex3d(0.5, y, 0.5);
    glEnd();
}

}  // namespace

void Ship::buildLists() {
    if (listsBuilt || !contextIsCurrent()) {
        return;
    }
    const float h = height;
    compileList(shipList, "Ship", [this, h] {
        glPushMatrix();
        // The hull takes whatever material draw() applied before calling the list.
        emitPlate(h, 1);
        setMaterial(kDeckColour, kFullFactors);
        applyMaterial();
        glPushMatrix();
        glScalef(kDeckScale, 1, kDeckScale);
        emitPlate(h + kDeckLift, kDeckBowTip);
        glPopMatrix();
        glPopMatrix();
    });
    listsBuilt = true;
}

void Ship::draw() {
    if (!haveLists(listsBuilt)) {
        return;
    }
    Colour hull = kPlayerDark[colourIndex(owner)];
    if (moved) {
        // Components may go below 0; OpenGL clamps the colour.
        hull = {hull.r - kMovedDarkening, hull.g - kMovedDarkening, hull.b - kMovedDarkening};
    }
    setMaterial(hull, kFullFactors);
    applyMaterial();
    glCallList(shipList);
    drawGauges();
}

void Ship::drawGauges() {
    glPushMatrix();
    glScalef(kDeckScale, 1, kDeckScale);
    const double gaugeY = height + kGaugeLift;
    for (int kind = 0; kind < kUnitKinds; ++kind) {
        const Colour c = kKindColours[kind];
        setMaterial(c, kPlainFactors);
        applyMaterial();
        const double fill = unitStock[kind] / static_cast<double>(kStockCap);
        if (fill > 0) {
            emitStockBar(kind, fill, gaugeY);
        }
    }

    setMaterial(kGreen, kPlainFactors);
    applyMaterial();
    // A ship can survive a battle with health at or below 0 when both sides
    // fell in the same step; its arrow must still stay on the deck.
    const double fraction = std::clamp(health / static_cast<double>(kFullHealth), 0.0, 1.0);
    emitHealthArrow(fraction, gaugeY);
    glPopMatrix();
}

void Ship::drawAtNode() {
    if (location == nullptr) {
        return;
    }
    glPushMatrix();
    glTranslated(location->gridX * kCellWidth, 0, location->gridZ * kCellDepth);
    draw();
    glPopMatrix();

    const Model* model = Model::getSelf();
    const Selector* selector = model->selector;
    if (selector == nullptr || model->nodeMap == nullptr) {
        return;
    }
    if (model->nodeMap->findNode(selector->gridZ, selector->gridX) != location) {
        return;
    }
    if (destination == nullptr) {
        return;
    }
    const Colour arrow = kPlayerDark[colourIndex(owner)];
    setMaterial(arrow, kPlainFactors);
    applyMaterial();
    model->selector->drawArrow(location, destination);
}
