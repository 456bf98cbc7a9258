#include "app/Window.h"

#include <GL/glut.h>

#include <thread>

#include "app/FramePacer.h"
#include "app/Input.h"
#include "app/Screens.h"

namespace {

// Runs the ticks and asks for the next frame once a tick is due, at most 60
// times a second.
void onIdle() {
    gamePacer().awaitNextFrame();
    runDueTicks(gamePacer());
    glutPostRedisplay();
}

}  // namespace

FramePacer& gamePacer() {
    static FramePacer pacer(FramePacer::Clock::now, [](FramePacer::Clock::duration wait) {
        std::this_thread::sleep_for(wait);
    });
    return pacer;
}

void initGlState() {
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_NORMALIZE);
    glDepthFunc(GL_LEQUAL);
    glShadeModel(GL_FLAT);
    // Set while the model-view matrix is the identity: the light stays put in
    // eye space and moves with every camera.
    const GLfloat position[4] = {5, 5, 5, 1};
    const GLfloat white[4] = {1, 1, 1, 1};
    glLightfv(GL_LIGHT0, GL_POSITION, position);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
    glLightfv(GL_LIGHT0, GL_SPECULAR, white);
    glLightfv(GL_LIGHT0, GL_AMBIENT, white);
}

void registerCallbacks() {
    glutDisplayFunc(onDisplay);
    glutReshapeFunc(onReshape);
    glutIdleFunc(onIdle);
    glutPassiveMotionFunc(onPassiveMotion);
    glutMouseFunc(onMouse);
    glutKeyboardFunc(onKeyboard);
    glutSpecialFunc(onSpecialKey);
}
