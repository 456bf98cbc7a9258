#include "support/GlContext.h"

#include <GL/glx.h>

Rgb readPixel(int x, int y) {
    float rgb[3] = {};
    glReadBuffer(GL_BACK);
    glReadPixels(x, y, 1, 1, GL_RGB, GL_FLOAT, rgb);
    return {rgb[0], rgb[1], rgb[2]};
}

void resetFrame() {
    glViewport(0, 0, kTestWindowWidth, kTestWindowHeight);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void withoutContext(const std::function<void()>& body) {
    Display* display = glXGetCurrentDisplay();
    const GLXDrawable window = glXGetCurrentDrawable();
    const GLXContext context = glXGetCurrentContext();
    glXMakeCurrent(display, None, nullptr);
    body();
    glXMakeCurrent(display, window, context);
}
