#include <GL/freeglut.h>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>

#include "app/Entry.h"
#include "app/Window.h"
#include "support/GlContext.h"

// After gtest: Xlib defines macros that gtest's own names would run into.
#include <X11/Xlib.h>

// A virtual X server under load now and then turns a connection away, and
// freeglut ends the process on the first refusal. This definition stands in
// for Xlib's in the whole test process, freeglut's call included, and tries a
// few times before it gives up.
extern "C" Display* XOpenDisplay(const char* name) {
    using Open = Display* (*)(const char*);
    static const Open xlibOpen = reinterpret_cast<Open>(dlsym(RTLD_NEXT, "XOpenDisplay"));
    constexpr int kTries = 5;
    constexpr unsigned kPauseMicroseconds = 200000;
    Display* display = nullptr;
    for (int i = 0; i < kTries && display == nullptr && xlibOpen != nullptr; ++i) {
        if (i > 0) {
            usleep(kPauseMicroseconds);
        }
        display = xlibOpen(name);
    }
    return display;
}

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
