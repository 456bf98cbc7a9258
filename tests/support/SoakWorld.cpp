#include "support/SoakWorld.h"

#include <GL/freeglut.h>
#include <malloc.h>
#include <unistd.h>

#include <cstdlib>
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

MemoryUse memoryUse() {
    std::ifstream statm("/proc/self/statm");
    long size = 0;
    long pages = 0;
    statm >> size >> pages;
    const struct mallinfo2 arenas = mallinfo2();
    MemoryUse use;
    use.resident = pages * sysconf(_SC_PAGESIZE);
    use.heap = static_cast<long>(arenas.uordblks + arenas.hblkhd);
    return use;
}

void takeWindowEvents() {
    glutMainLoopEvent();
}

long soakEventsFromEnvironment(long defaultEvents) {
    const char* text = std::getenv("KARVOSSA_SOAK_EVENTS");
    if (text == nullptr || *text == '\0') {
        return defaultEvents;
    }
    const long events = std::strtol(text, nullptr, 10);
    return events > 0 ? events : defaultEvents;
}

std::uint32_t soakReplaySeed() {
    const char* text = std::getenv("KARVOSSA_SOAK_SEED");
    return text == nullptr ? 0 : static_cast<std::uint32_t>(std::strtoul(text, nullptr, 10));
}
