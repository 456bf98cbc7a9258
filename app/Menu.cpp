#include "app/Menu.h"

#include <GL/gl.h>

#include "render/Palette.h"

namespace {

constexpr Colour kSchemeColour{0.81f, 0.194f, 0.7212f};

}  // namespace

Menu::Menu() {
    baseHeight = 1.0f;
    // Set directly, not through the virtual call: the board starts plain white.
    DrawableGeometry::setMaterial(1, 1, 1, 1, 1, 1, 1);
    visible = false;
    if (!listsBuilt) {
        buildLists();
    }
}

void Menu::buildLists() {
    if (listsBuilt || !contextIsCurrent()) {
        return;
    }
    const float h = baseHeight;
    compileList(boardList, "Menu", [h] {
        glBegin(GL_QUADS);
        glVertex3f(-1, h, -1);
        glVertex3f(-1, h, 1);
        glVertex3f(1, h, 1);
        glVertex3f(1, h, -1);
        glEnd();
    });
    listsBuilt = true;
}

void Menu::draw() {
    if (!visible || !haveLists(listsBuilt)) {
        return;
    }
    applyMaterial();
    glCallList(boardList);
}

void Menu::setScheme() {
    setMaterial(kSchemeColour, kFullFactors);
    visible = true;
}
