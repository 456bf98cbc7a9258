#pragma once
// Stroke text read back from GL feedback: a capture's line segments matched,
// glyph by glyph, against the font's own shapes, so that a drawing test can
// say which text was written where and in which colour. The panels' tests
// look through setEyeView(), a wide perspective over eye space.
#include <GL/freeglut.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "render/FeedbackCapture.h"
#include "support/GlContext.h"

namespace strokereading {

using glfeedback::Capture;
using glfeedback::Kind;

// A wide view over eye space, on a viewport ten times the window so that the
// stroke text comes back large enough to tell glyphs apart exactly.
inline constexpr int kViewWidth = 10 * kTestWindowWidth;
inline constexpr int kViewHeight = 10 * kTestWindowHeight;

inline void setEyeView() {
    resetFrame();
    glViewport(0, 0, kViewWidth, kViewHeight);
    glMatrixMode(GL_PROJECTION);
    gluPerspective(120, static_cast<double>(kViewWidth) / kViewHeight, 0.1, 100);
    glMatrixMode(GL_MODELVIEW);
}

// ---- Reading stroke text back from feedback -------------------------------

struct Segment {
    float x0, y0, x1, y1;  // window
    float depth;
    bool stripStart;
    float r, g, b;
};

inline std::vector<Segment> segmentsOf(const Capture& capture) {
    std::vector<Segment> segments;
    for (const auto& primitive : capture.primitives) {
        if (primitive.kind != Kind::Line) {
            continue;
        }
        const auto& a = primitive.vertices[0];
        const auto& b = primitive.vertices[1];
        segments.push_back({a.x, a.y, b.x, b.y, a.depth, primitive.stripStart, a.r, a.g, a.b});
    }
    return segments;
}

// The strokes of one glyph in window coordinates, with the window position of
// the glyph's origin.
struct GlyphShape {
    char glyph;
    std::vector<Segment> segments;
    float originX, originY;
};

// Every printable glyph of the font as it appears in the plane at eye depth
// `depth` under a uniform scale; longest first, so that a glyph is never read
// as a shorter one that starts with the same strokes. A few glyphs share one
// shape ("l" and "I" are both a single stroke); the capitals come last and so
// lose such ties, since the game writes no capitals in its panels.
inline std::vector<GlyphShape> glyphShapes(float depth, float scale) {
    std::string order;
    for (char glyph = 33; glyph < 127; ++glyph) {
        if (glyph < 'A' || glyph > 'Z') {
            order += glyph;
        }
    }
    for (char glyph = 'A'; glyph <= 'Z'; ++glyph) {
        order += glyph;
    }
    std::vector<GlyphShape> shapes;
    for (const char glyph : order) {
        const Capture capture = glfeedback::capture(
            [&] {
                glPushMatrix();
                glTranslatef(0, 0, depth);
                glScalef(scale, scale, scale);
                glBegin(GL_POINTS);
                glVertex3f(0, 0, 0);
                glEnd();
                glutStrokeCharacter(GLUT_STROKE_ROMAN, glyph);
                glPopMatrix();
            },
            1 << 14);
        GlyphShape shape{glyph, segmentsOf(capture), 0, 0};
        for (const auto& primitive : capture.primitives) {
            if (primitive.kind == Kind::Point) {
                shape.originX = primitive.vertices[0].x;
                shape.originY = primitive.vertices[0].y;
            }
        }
        if (!shape.segments.empty()) {
            shapes.push_back(shape);
        }
    }
    std::stable_sort(shapes.begin(), shapes.end(), [](const GlyphShape& a, const GlyphShape& b) {
        return a.segments.size() > b.segments.size();
    });
    return shapes;
}

inline bool shapeAt(const std::vector<Segment>& drawn, size_t start, const GlyphShape& shape) {
    constexpr float kTolerance = 0.05f;  // pixels of the large viewport
    if (start + shape.segments.size() > drawn.size()) {
        return false;
    }
    const float dx = drawn[start].x0 - shape.segments[0].x0;
    const float dy = drawn[start].y0 - shape.segments[0].y0;
    for (size_t k = 0; k < shape.segments.size(); ++k) {
        const Segment& d = drawn[start + k];
        const Segment& s = shape.segments[k];
        if (d.stripStart != s.stripStart || std::fabs(d.x0 - s.x0 - dx) > kTolerance ||
            std::fabs(d.y0 - s.y0 - dy) > kTolerance || std::fabs(d.x1 - s.x1 - dx) > kTolerance ||
            std::fabs(d.y1 - s.y1 - dy) > kTolerance) {
            return false;
        }
    }
    return true;
}

// One glyph found in a capture: which, where its origin is in eye
// coordinates, and the colour of its strokes (when they all share one).
struct ReadGlyph {
    char glyph;
    double x, y;
    float r, g, b;
    bool oneColour;
};

inline std::vector<ReadGlyph> readGlyphs(const Capture& capture,
                                         const std::vector<GlyphShape>& shapes) {
    const std::vector<Segment> drawn = segmentsOf(capture);
    std::vector<ReadGlyph> glyphs;
    size_t i = 0;
    while (i < drawn.size()) {
        const auto found = std::find_if(shapes.begin(), shapes.end(),
                                        [&](const GlyphShape& s) { return shapeAt(drawn, i, s); });
        if (found == shapes.end()) {
            ++i;
            continue;
        }
        const Segment& first = drawn[i];
        const double originX = found->originX + first.x0 - found->segments[0].x0;
        const double originY = found->originY + first.y0 - found->segments[0].y0;
        const glfeedback::Point3 eye = capture.unproject(originX, originY, first.depth);
        bool oneColour = true;
        for (size_t k = i; k < i + found->segments.size(); ++k) {
            oneColour = oneColour && drawn[k].r == first.r && drawn[k].g == first.g &&
                        drawn[k].b == first.b;
        }
        glyphs.push_back({found->glyph, eye[0], eye[1], first.r, first.g, first.b, oneColour});
        i += found->segments.size();
    }
    return glyphs;
}

// The glyphs whose origins lie on the baseline y within [xMin, xMax], left to right.
inline std::vector<ReadGlyph> glyphsOnRow(const std::vector<ReadGlyph>& glyphs, double y,
                                          double xMin, double xMax) {
    std::vector<ReadGlyph> row;
    for (const ReadGlyph& g : glyphs) {
        if (std::fabs(g.y - y) < 0.005 && g.x >= xMin && g.x <= xMax) {
            row.push_back(g);
        }
    }
    std::sort(row.begin(), row.end(),
              [](const ReadGlyph& a, const ReadGlyph& b) { return a.x < b.x; });
    return row;
}

inline std::string textOf(const std::vector<ReadGlyph>& row) {
    std::string text;
    for (const ReadGlyph& g : row) {
        text += g.glyph;
    }
    return text;
}

}  // namespace strokereading
