#include "render/DrawableGeometry.h"

#include <GL/gl.h>

#include <string>

#include "game/Invariant.h"
#include "render/Palette.h"

bool DrawableGeometry::haveLists(const bool& classListsBuilt) {
    if (!classListsBuilt) {
        buildLists();
    }
    return classListsBuilt;
}

void DrawableGeometry::setMaterial(float r, float g, float b, float a, float specularFactor,
                                   float diffuseFactor, float ambientFactor) {
    const float rgb[3] = {r, g, b};
    for (int i = 0; i < 3; ++i) {
        colour[i] = rgb[i];
        specular[i] = rgb[i] * specularFactor;
        diffuse[i] = rgb[i] * diffuseFactor;
        ambient[i] = rgb[i] * ambientFactor;
    }
    colour[3] = specular[3] = diffuse[3] = ambient[3] = a;
}

void DrawableGeometry::setMaterial(const Colour& c, const MaterialFactors& factors) {
    setMaterial(c.r, c.g, c.b, 1, factors.specular, factors.diffuse, factors.ambient);
}

void DrawableGeometry::applyMaterial() {
    glMaterialfv(GL_FRONT, GL_SPECULAR, specular);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse);
    glMaterialfv(GL_FRONT, GL_AMBIENT, ambient);
    glColor4d(colour[0], colour[1], colour[2], colour[3]);
}

namespace {

// Built only when an invariant fails, so a release build never calls it.
[[maybe_unused]] const char* listMistake(const char* owner, const char* what) {
    static std::string message;
    message = std::string(owner) + what;
    return message.c_str();
}

}  // namespace

void compileList(unsigned& list, const char* owner, const std::function<void()>& emit) {
    KARVOSSA_ASSERT(list == 0, listMistake(owner, " compiled one of its display lists twice"));
    const bool current = DrawableGeometry::contextIsCurrent();
    KARVOSSA_ASSERT(current, listMistake(owner, " compiled a display list with no OpenGL context"));
    if (!current || list != 0) {
        return;
    }
    list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    emit();
    glEndList();
}
