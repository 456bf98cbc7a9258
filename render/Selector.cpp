#include "render/Selector.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "game/Invariant.h"
#include "game/Model.h"
#include "game/Node.h"
#include "game/Ship.h"
#include "render/HexagonGeometry.h"
#include "render/Palette.h"

namespace {

constexpr float kCursorRingScale = 1.1f;  // lies under the tiles, so only a band shows
constexpr float kPointerMarkScale = 0.1f;
constexpr float kPointerMarkLift = 0.5f;
constexpr float kArrowLift = 0.3f;
constexpr Colour kPointerMarkColour{1.0f, 0.0f, 0.0f};
// The arrow runs along +x from 0 to its tip at 1; drawing scales only its length.
constexpr float kArrowShaftHalfWidth = 0.3f;
constexpr float kArrowHeadStart = 0.8f;
constexpr float kArrowHeadHalfWidth = 1.0f;
// Deliberately not pi: the arrow's turn is defined with this value, which
// leaves it a few thousandths of a degree off the exact direction.
constexpr double kArrowPi = 3.1415;

// A pointer this far out (or not a number) lies over no cell, and converting
// its position to int would overflow.
constexpr float kFarthestCell = 1.0e6f;

void emitArrow(float y) {
    glBegin(GL_TRIANGLES);
    glVertex3f(0, y, -kArrowShaftHalfWidth);
    glVertex3f(0, y, kArrowShaftHalfWidth);
    glVertex3f(kArrowHeadStart, y, kArrowShaftHalfWidth);
    glVertex3f(kArrowHeadStart, y, kArrowShaftHalfWidth);
    glVertex3f(kArrowHeadStart, y, -kArrowShaftHalfWidth);
    glVertex3f(0, y, -kArrowShaftHalfWidth);
    glVertex3f(kArrowHeadStart, y, kArrowHeadHalfWidth);
    glVertex3f(1, y, 0);
    glVertex3f(kArrowHeadStart, y, -kArrowHeadHalfWidth);
    glEnd();
}

// Nearest whole cell coordinate; halves go up.
int roundToCell(float pointerGrid) {
    return static_cast<int>(std::floor(pointerGrid + 0.5f));
}

bool isReachableCell(float pointerGrid) {
    return std::isfinite(pointerGrid) && std::fabs(pointerGrid) < kFarthestCell;
}

}  // namespace

Selector::Selector() {
    baseHeight = -0.1f;
    setMaterial(kWhite, kFullFactors);
    gridZ = 0;
    gridX = 0;
    if (!listsBuilt) {
        buildLists();
    }
}

void Selector::buildLists() {
    if (listsBuilt || !contextIsCurrent()) {
        return;
    }
    const float h = baseHeight;
    compileList(cursorRingList, "Selector", [h] { emitScaledHexagon(kCursorRingScale, h); });
    compileList(pointerMarkList, "Selector",
                [h] { emitScaledHexagon(kPointerMarkScale, h + kPointerMarkLift); });
    compileList(arrowList, "Selector", [h] { emitArrow(h + kArrowLift); });
    listsBuilt = true;
}

void Selector::draw() {
    if (!haveLists(listsBuilt)) {
        return;
    }
    setMaterial(kWhite, kFullFactors);
    applyMaterial();
    glCallList(cursorRingList);
}

void Selector::updateCursor(float pointerX, float pointerY) {
    // Around the map's centre, not the grid origin: the map grows from its seed
    // in any direction, and the pointer reaches only viewHeight / 2 either side.
    const Model* model = Model::getSelf();
    pointerGridX = model->mapCenterX - model->viewHeight * pointerX * 0.5f;
    pointerGridZ = model->mapCenterZ + model->viewHeight * pointerY * 0.5f;
    if (!isReachableCell(pointerGridX) || !isReachableCell(pointerGridZ)) {
        return;
    }
    const int cx = roundToCell(pointerGridX);
    const int cz = roundToCell(pointerGridZ);
    // Only cells with an even sum exist on the grid; between them the cursor stays put.
    if ((cx + cz) % 2 != 0) {
        return;
    }
    gridX = cx;
    gridZ = cz;
}

void Selector::aimAt(int cellX, int cellZ) {
    Model* model = Model::getSelf();
    if (model->viewHeight > 0) {
        model->pointerX = -2 * (cellX - model->mapCenterX) / model->viewHeight;
        model->pointerY = 2 * (cellZ - model->mapCenterZ) / model->viewHeight;
    }
    gridX = cellX;
    gridZ = cellZ;
}

void Selector::drawCursor() {
    glPushMatrix();
    glTranslated(gridX * kCellWidth, 0, gridZ * kCellDepth);
    draw();
    glPopMatrix();

    glPushMatrix();
    glTranslated(pointerGridX * kCellWidth, 0, pointerGridZ * kCellDepth);
    if (listsBuilt) {
        setMaterial(kPointerMarkColour, kFullFactors);
        applyMaterial();
        glCallList(pointerMarkList);
    }
    glPopMatrix();

    drawMoveArrow();
}

void Selector::drawMoveArrow() {
    const Ship* ship = Model::getSelf()->selectedShip;
    if (ship == nullptr || ship->location == nullptr) {
        return;
    }
    const Colour dark = kPlayerDark[colourIndex(ship->owner)];
    setMaterial(dark, kPlainFactors);
    applyMaterial();
    // A stand-in for the cursor cell; it lives only for this call.
    Node cursorCell;
    cursorCell.gridZ = gridZ;
    cursorCell.gridX = gridX;
    drawArrow(ship->location, &cursorCell);
}

void Selector::drawArrow(const Node* from, const Node* to) {
    KARVOSSA_ASSERT(from != nullptr && to != nullptr, "an arrow is drawn between two nodes");
    if (from == nullptr || to == nullptr) {
        return;
    }
    const float dx = static_cast<float>(to->gridX * kCellWidth - from->gridX * kCellWidth);
    const float dz = static_cast<float>(to->gridZ * kCellDepth - from->gridZ * kCellDepth);
    const float length =
        static_cast<float>(std::sqrt(static_cast<double>(dx) * dx + static_cast<double>(dz) * dz));
    // Coinciding cells have no direction, and the arrow would have no length.
    if (!(length > 0)) {
        return;
    }
    // Rounding must not push the cosine outside acos's domain.
    const double cosine = std::clamp(dz / static_cast<double>(length), -1.0, 1.0);
    float angle = static_cast<float>(std::acos(cosine) * 180 / kArrowPi + 180);
    if (to->gridX < from->gridX) {
        angle = -angle;
    }

    glPushMatrix();
    glTranslatef(static_cast<float>(from->gridX * kCellWidth), 0,
                 static_cast<float>(from->gridZ * kCellDepth));
    glRotatef(90, 0, 1, 0);
    glRotatef(angle, 0, 1, 0);
    glScalef(length, 1, 1);
    glCallList(arrowList);
    glPopMatrix();
}
