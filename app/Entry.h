#pragma once
// Start-up: the window with its OpenGL state and callbacks, then the world.
// The order is fixed: getSelf, initWindow, createWorld, then the main loop,
// because every drawable constructor may compile display lists.

class Menu;

void initWindow(int* argc, char** argv);
Menu* createWorld(int playerCount, int nodeCount);

// Runs body and turns a fatal set-up error into its message on standard error
// and exit status 1; returns body's status otherwise.
int runGuarded(int (*body)(int, char**), int argc, char** argv);

// Keeps freed memory in the process instead of giving it back every frame.
void tuneAllocator();

// The whole program: getSelf, initWindow, createWorld, glutMainLoop.
int runGame(int argc, char** argv);
