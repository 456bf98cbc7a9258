#pragma once
// Records what a piece of drawing code sends to GL, through feedback mode:
// every line and polygon after transformation and clipping, with its window
// coordinates and the colour each vertex reached the window with. The
// matrices in force at the capture are kept, so that a window point can be
// mapped back into the coordinates the caller drew in.
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

namespace glfeedback {

struct Vertex {
    float x, y, depth;  // window
    float r, g, b, a;   // after lighting and clamping
};

enum class Kind { Point, Line, Polygon };

struct Primitive {
    Kind kind;
    bool stripStart;  // a line that opens a new strip (its stipple was reset)
    std::vector<Vertex> vertices;
};

using Point3 = std::array<double, 3>;

struct Capture {
    std::vector<Primitive> primitives;
    GLdouble modelview[16];
    GLdouble projection[16];
    GLint viewport[4];

    // Back into the coordinates of the model-view matrix the capture started with.
    Point3 unproject(double x, double y, double depth) const {
        Point3 p{};
        gluUnProject(x, y, depth, modelview, projection, viewport, &p[0], &p[1], &p[2]);
        return p;
    }
    Point3 unproject(const Vertex& v) const { return unproject(v.x, v.y, v.depth); }
};

constexpr int kValuesPerVertex = 7;  // GL_3D_COLOR in RGBA mode

inline Vertex readVertex(const std::vector<GLfloat>& buffer, int& i) {
    const Vertex v{buffer[i],     buffer[i + 1], buffer[i + 2], buffer[i + 3],
                   buffer[i + 4], buffer[i + 5], buffer[i + 6]};
    i += kValuesPerVertex;
    return v;
}

// Runs draw() in feedback mode under the current matrices; capacity is in
// floats of feedback.
template <typename Draw>
Capture capture(Draw draw, int capacity = 1 << 22) {
    Capture result;
    glGetDoublev(GL_MODELVIEW_MATRIX, result.modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, result.projection);
    glGetIntegerv(GL_VIEWPORT, result.viewport);

    std::vector<GLfloat> buffer(static_cast<size_t>(capacity));
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint used = glRenderMode(GL_RENDER);
    if (used < 0) {
        ADD_FAILURE() << "feedback buffer overflow";
        return result;
    }
    for (int i = 0; i < used;) {
        const GLint token = static_cast<GLint>(buffer[i++]);
        switch (token) {
            case GL_POINT_TOKEN:
                result.primitives.push_back({Kind::Point, false, {readVertex(buffer, i)}});
                break;
            case GL_LINE_TOKEN:
            case GL_LINE_RESET_TOKEN: {
                Primitive line{Kind::Line, token == GL_LINE_RESET_TOKEN, {}};
                line.vertices.push_back(readVertex(buffer, i));
                line.vertices.push_back(readVertex(buffer, i));
                result.primitives.push_back(line);
                break;
            }
            case GL_POLYGON_TOKEN: {
                const int count = static_cast<int>(buffer[i++]);
                Primitive polygon{Kind::Polygon, false, {}};
                for (int v = 0; v < count; ++v) {
                    polygon.vertices.push_back(readVertex(buffer, i));
                }
                result.primitives.push_back(polygon);
                break;
            }
            case GL_PASS_THROUGH_TOKEN:
                ++i;
                break;
            default:
                ADD_FAILURE() << "unexpected feedback token " << token;
                return result;
        }
    }
    return result;
}

inline bool sameColour(const Vertex& v, float r, float g, float b, float tolerance = 0.002f) {
    return std::fabs(v.r - r) <= tolerance && std::fabs(v.g - g) <= tolerance &&
           std::fabs(v.b - b) <= tolerance;
}

}  // namespace glfeedback
