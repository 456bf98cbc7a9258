#pragma once
// The GLUT input callbacks. Each one changes the Model and returns; the effect
// is drawn in the next frame.

void onPassiveMotion(int x, int y);
void onMouse(int button, int state, int x, int y);
void onKeyboard(unsigned char key, int x, int y);
void onSpecialKey(int key, int x, int y);
