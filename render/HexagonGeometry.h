#pragma once
// The flat hexagon that node tiles, their marks and the map cursor are made
// of. The hexagon is 2 wide along x and
// 2 * sqrt(1.5) deep along z, centred on the origin; these helpers only send
// vertices and are meant to run while a list is being compiled.
#include <GL/gl.h>

#include <cmath>

struct HexCorner {
    float x, z;
};

// Corner i (taken mod 6) of the outline; corner 0 lies on +x and they go round
// towards +z.
inline HexCorner hexCorner(int i) {
    const float s = std::sqrt(1.5f);
    const HexCorner corners[6] = {{1, 0}, {0.5f, s}, {-0.5f, s}, {-1, 0}, {-0.5f, -s}, {0.5f, -s}};
    return corners[i % 6];
}

inline void hexVertex(int i, float y) {
    const HexCorner c = hexCorner(i);
    glVertex3f(c.x, y, c.z);
}

// Six triangles fanned from the centre, in the plane at height y.
inline void emitHexagon(float y) {
    glBegin(GL_TRIANGLES);
    for (int i = 0; i < 6; ++i) {
        glVertex3f(0, y, 0);
        hexVertex(i, y);
        hexVertex(i + 1, y);
    }
    glEnd();
}

// The hexagon scaled about its centre in x and z, under a saved matrix.
inline void emitScaledHexagon(float scale, float y) {
    glPushMatrix();
    glScalef(scale, 1, scale);
    emitHexagon(y);
    glPopMatrix();
}
