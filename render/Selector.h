#pragma once
// The 3D cursor that replaces the hidden system pointer on the map: it follows
// the pointer cell by cell, marks the exact pointer position and draws the move
// arrow from the selected ship's node to the cursor cell.
#include "render/DrawableGeometry.h"

class Node;

class Selector final : public DrawableGeometry {
public:
    Selector();

    void buildLists() override;
    void draw() override;

    void updateCursor(float pointerX, float pointerY);
    // Puts the cursor on a cell and the Model's pointer over it, as a person
    // moving the mouse there would; the program's own clicks go through it.
    void aimAt(int cellX, int cellZ);
    void drawCursor();
    void drawMoveArrow();
    void drawArrow(const Node* from, const Node* to);

    int gridX = 0;           // cursor cell column; gridX + gridZ even
    int gridZ = 0;           // cursor cell row
    float pointerGridX = 0;  // pointer in grid units, unrounded
    float pointerGridZ = 0;

    static inline bool listsBuilt = false;
    static inline unsigned cursorRingList = 0;
    static inline unsigned pointerMarkList = 0;
    static inline unsigned arrowList = 0;
};
