#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include "app/Window.h"
#include "support/GlContext.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Listing the tests (as the build does to register them) needs no display.
    if (::testing::GTEST_FLAG(list_tests)) {
        return RUN_ALL_TESTS();
    }
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowPosition(0, 0);
    glutInitWindowSize(kTestWindowWidth, kTestWindowHeight);
    glutCreateWindow("karvossa drawing tests");
    initGlState();
    glutDisplayFunc([] {});
    for (int i = 0; i < 10; ++i) {
        glutMainLoopEvent();
    }
    return RUN_ALL_TESTS();
}
