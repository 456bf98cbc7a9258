#pragma once
// Start-up: the window with its OpenGL state and callbacks, then the world.
// The order is fixed: getSelf, initWindow, createWorld, then the main loop,
// so that the world's drawables compile their display lists as they are made,
// in the window's context, rather than in the first frame.

class Menu;

// The window fills the screen unless windowed, then it is 1280x720.
void initWindow(int* argc, char** argv, bool windowed = false);
Menu* createWorld(int playerCount, int nodeCount);

// Runs body and turns a fatal set-up error into its message on standard error
// and exit status 1; returns body's status otherwise.
int runGuarded(int (*body)(int, char**), int argc, char** argv);

// Keeps freed memory in the process instead of giving it back every frame.
void tuneAllocator();

// The whole program: the command line, getSelf, initWindow, createWorld, the
// computer players asked for, glutMainLoop. Help, the version and mistakes on
// the command line are answered before any window opens (status 0, 0 and 2).
int runGame(int argc, char** argv);
