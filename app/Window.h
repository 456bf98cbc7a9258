#pragma once
// The OpenGL state every screen relies on and the GLUT callback registration,
// split out of initWindow so that drawing tests can set up the same state in a
// window of their own.

class FramePacer;

// Depth test, one white positional light fixed in eye space, colour-driven
// materials, flat shading. Needs a current context and an identity model-view.
void initGlState();

void registerCallbacks();

// The wall clock's pacer of the game's ticks, shared by the idle callback,
// which waits on it, and the frame, which takes the due ticks from it.
FramePacer& gamePacer();
