#pragma once
// The map drawing tests look straight down on the y = 0 plane through an
// orthographic camera with lighting off, so that a pixel shows exactly the
// colour drawn at a world point (x, z) and feedback mode gives back world
// coordinates. World +z points down the window, as under the map camera.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "support/GlContext.h"

struct FeedbackVertex {
    float x, y, z;  // world
    float r, g, b;  // after clamping
};
using FeedbackPolygon = std::vector<FeedbackVertex>;

class TopDownView {
public:
    // Shows halfWidth world units either side of (centreX, centreZ) along x.
    TopDownView(float centreX, float centreZ, float halfWidth)
        : left_(centreX - halfWidth),
          bottom_(-centreZ - halfWidth * kAspect),
          width_(2 * halfWidth),
          height_(2 * halfWidth * kAspect) {
        glPushAttrib(GL_ENABLE_BIT);
        glDisable(GL_LIGHTING);
        resetFrame();
        glMatrixMode(GL_PROJECTION);
        glOrtho(left_, left_ + width_, bottom_, bottom_ + height_, -kDepth, kDepth);
        glMatrixMode(GL_MODELVIEW);
        glRotatef(90, 1, 0, 0);  // eye (x, -z, y): higher y is nearer
    }
    ~TopDownView() { glPopAttrib(); }
    TopDownView(const TopDownView&) = delete;
    TopDownView& operator=(const TopDownView&) = delete;

    void clear() const { glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT); }

    Rgb colourAt(float x, float z) const {
        const float px = (x - left_) / width_ * kTestWindowWidth;
        const float py = (-z - bottom_) / height_ * kTestWindowHeight;
        return readPixel(static_cast<int>(std::floor(px)), static_cast<int>(std::floor(py)));
    }

    // The polygons draw() sends, as they reach the window.
    template <typename Draw>
    std::vector<FeedbackPolygon> capture(Draw draw) const {
        std::vector<GLfloat> buffer(1 << 16);
        glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR, buffer.data());
        glRenderMode(GL_FEEDBACK);
        draw();
        const GLint used = glRenderMode(GL_RENDER);
        std::vector<FeedbackPolygon> polygons;
        for (GLint i = 0; i < used;) {
            if (buffer[i] != GL_POLYGON_TOKEN) {
                ADD_FAILURE() << "unexpected feedback token " << buffer[i];
                break;
            }
            const int count = static_cast<int>(buffer[i + 1]);
            i += 2;
            FeedbackPolygon polygon;
            for (int v = 0; v < count; ++v, i += kValuesPerVertex) {
                polygon.push_back(toWorld(&buffer[i]));
            }
            polygons.push_back(polygon);
        }
        return polygons;
    }

private:
    static constexpr float kAspect = static_cast<float>(kTestWindowHeight) / kTestWindowWidth;
    static constexpr float kDepth = 10;
    static constexpr int kValuesPerVertex = 7;  // x, y, depth, r, g, b, a

    FeedbackVertex toWorld(const GLfloat* v) const {
        return {left_ + v[0] / kTestWindowWidth * width_,
                kDepth * (1 - 2 * v[2]),
                -(bottom_ + v[1] / kTestWindowHeight * height_),
                v[3],
                v[4],
                v[5]};
    }

    float left_, bottom_, width_, height_;
};

// Within one step of an 8-bit channel, and a little.
inline ::testing::AssertionResult looksLike(const Rgb& actual, float r, float g, float b) {
    constexpr float kTolerance = 0.01f;
    const float expected[3] = {r, g, b};
    for (int i = 0; i < 3; ++i) {
        if (std::fabs(actual[i] - expected[i]) > kTolerance) {
            return ::testing::AssertionFailure()
                   << "colour (" << actual[0] << ", " << actual[1] << ", " << actual[2]
                   << "), expected (" << r << ", " << g << ", " << b << ")";
        }
    }
    return ::testing::AssertionSuccess();
}
