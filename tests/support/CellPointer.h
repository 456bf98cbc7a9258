#pragma once
// Where the pointer has to be for the map cursor to land on a cell's centre:
// the inverse of Selector::updateCursor, in the Model's pointer units or in
// window pixels; and the pointer a window pixel gives. Header-only, so that
// programs outside the test support library can steer the game with it too.
#include <cmath>

#include "game/Model.h"
#include "game/Node.h"

// What the cursor's mapping depends on: the map's camera height and centre.
struct MapView {
    float viewHeight, mapCenterX, mapCenterZ;
};

inline MapView viewOf(const Model* model) {
    return {model->viewHeight, model->mapCenterX, model->mapCenterZ};
}

struct PointerAim {
    float pointerX, pointerY;  // as Model keeps them
};

inline PointerAim pointerOnCell(const MapView& view, int gridX, int gridZ) {
    return {-2.0f * (gridX - view.mapCenterX) / view.viewHeight,
            2.0f * (gridZ - view.mapCenterZ) / view.viewHeight};
}

// Aims the Model's pointer there; the next map frame moves the cursor onto the cell.
inline void aimPointerAt(Model* model, int gridX, int gridZ) {
    const PointerAim aim = pointerOnCell(viewOf(model), gridX, gridZ);
    model->pointerX = aim.pointerX;
    model->pointerY = aim.pointerY;
}

struct WindowPixel {
    int x, y;
};

// The pointer values onPassiveMotion makes of a window pixel.
inline PointerAim pointerAtPixel(WindowPixel pixel, int width, int height) {
    return {static_cast<float>(1.0 - 2.0 * pixel.x / width),
            static_cast<float>(2.0 * pixel.y / height - 1.0)};
}

// The pixel that onPassiveMotion turns into the aimed pointer values.
inline WindowPixel pixelOnCell(const MapView& view, int gridX, int gridZ, int width, int height) {
    const PointerAim aim = pointerOnCell(view, gridX, gridZ);
    return {static_cast<int>(std::lround(width * (1 - aim.pointerX) / 2.0)),
            static_cast<int>(std::lround(height * (1 + aim.pointerY) / 2.0))};
}

inline WindowPixel pixelOnNode(const Model* model, const Node* node) {
    return pixelOnCell(viewOf(model), node->gridX, node->gridZ, model->windowWidth,
                       model->windowHeight);
}
