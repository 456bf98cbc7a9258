#include "support/SoakWorld.h"

#include <GL/freeglut.h>
#include <unistd.h>

#include <fstream>

#include "app/Window.h"
#include "game/Model.h"
#include "support/GlContext.h"
#include "support/World.h"

namespace {

void restoreWindowState() {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    initGlState();
}

}  // namespace

Model* startSoakGame(std::uint32_t seed) {
    Model::resetSelf();
    Model* model = buildWholeGame(seed, kTestWindowWidth, kTestWindowHeight);
    restoreWindowState();
    return model;
}

void endSoakGames() {
    Model::resetSelf();
    restoreWindowState();
}

long residentBytes() {
    std::ifstream statm("/proc/self/statm");
    long size = 0;
    long resident = 0;
    statm >> size >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

void takeWindowEvents() {
    glutMainLoopEvent();
}
