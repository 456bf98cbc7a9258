#pragma once
// The display side of the screen state machine: one frame per call of
// onDisplay, each screen with its own camera.

void onDisplay();
// Everything of a frame but the buffer swap: clear, project, draw the screen,
// advance the clock. Drawing tests call it and read the back buffer.
void drawFrame();
void onReshape(int width, int height);
void drawTitleScreen();
void drawMapScreen();
void drawBattleScreen();
void drawEndScreen();
