#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/Entry.h"
#include "app/Window.h"
#include "support/GlContext.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Listing the tests (as the build does to register them) needs no display.
    if (::testing::GTEST_FLAG(list_tests)) {
        return RUN_ALL_TESTS();
    }
    // The drawing tests run with the allocator set up as the game sets it, and
    // (unless told otherwise) with the rasteriser on this thread, so that what
    // they measure, resident memory above all, does not hang on thread timing.
    tuneAllocator();
    setenv("LP_NUM_THREADS", "0", 0);
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
