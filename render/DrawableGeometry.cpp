#include "render/DrawableGeometry.h"

#include <GL/glu.h>

#include "render/Palette.h"

namespace {

constexpr double kSphereRadius = 50;
constexpr int kSphereDetail = 50;

}  // namespace

DrawableGeometry::DrawableGeometry() {
    // A virtual call here reaches the base's own buildLists, never a derived one.
    if (!DrawableGeometry::listsBuilt) {
        buildLists();
    }
}

void DrawableGeometry::buildLists() {
    if (DrawableGeometry::listsBuilt) {
        return;
    }
    sphereList = compileList([this] {
        setMaterial(1, 0, 0, 0, 0.5f, 1, 1);
        applyMaterial();
        GLUquadric* quadric = gluNewQuadric();
        gluSphere(quadric, kSphereRadius, kSphereDetail, kSphereDetail);
        gluDeleteQuadric(quadric);
    });
    DrawableGeometry::listsBuilt = true;
}

void DrawableGeometry::draw() {
    if (DrawableGeometry::listsBuilt) {
        glCallList(sphereList);
    }
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

unsigned compileList(const std::function<void()>& emit) {
    const unsigned list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    emit();
    glEndList();
    return list;
}
