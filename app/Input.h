#pragma once
// The GLUT input callbacks. Keys and clicks become commands for the sides a
// person plays at this keyboard, given for the next tick; the pointer is kept
// as it is, for the cameras and the cursor; Escape ends the process at once.

void onPassiveMotion(int x, int y);
void onMouse(int button, int state, int x, int y);
void onKeyboard(unsigned char key, int x, int y);
void onSpecialKey(int key, int x, int y);
