#include "app/Entry.h"

#include <GL/glut.h>

#include <malloc.h>

#include <iostream>
#include <string>

#include "app/Window.h"
#include "game/Model.h"

Menu* createWorld(int playerCount, int nodeCount) {
    if (nodeCount < playerCount + 1) {
        raiseFatal("LESS NODES THAN PLAYERS");
    }
    Model* model = Model::getSelf();
    model->createNodes(nodeCount);
    model->createPlayers(playerCount);
    model->createSelector();
    model->createHud();
    model->createNodeMap();
    return model->createMenu();
}

void initWindow(int* argc, char** argv) {
    const Model* model = Model::getSelf();
    glutInit(argc, argv);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH | GLUT_MULTISAMPLE);
    glutInitWindowPosition(0, 0);
    glutInitWindowSize(model->windowWidth, model->windowHeight);
    glutCreateWindow("Karvossa!");
    glutFullScreen();
    glutSetCursor(GLUT_CURSOR_NONE);
    initGlState();
    registerCallbacks();
}

int runGuarded(int (*body)(int, char**), int argc, char** argv) {
    try {
        return body(argc, argv);
    } catch (const std::string* message) {
        std::cerr << "karvossa: " << *message << '\n';
        delete message;
        return 1;
    }
}

void tuneAllocator() {
    // The software rasteriser allocates and frees large buffers in every frame
    // in which lighting-free geometry changes colour (the battle's units); with
    // the default thresholds each frame returns them to the system and faults
    // them back in, which triples the cost of a battle frame.
    constexpr int kKeepBytes = 256 * 1024 * 1024;
    mallopt(M_MMAP_THRESHOLD, kKeepBytes);
    mallopt(M_TRIM_THRESHOLD, kKeepBytes);
}

int runGame(int argc, char** argv) {
    tuneAllocator();
    Model* model = Model::getSelf();
    initWindow(&argc, argv);
    createWorld(model->playerCount, model->nodeCount);
    glutMainLoop();
    return 0;
}
