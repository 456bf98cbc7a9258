#pragma once
// The main loop's pass and the display side of the screen state machine: each
// call of onDisplay runs the ticks that are due and then draws one frame, each
// screen with its own camera. Drawing reads the Model and changes nothing the
// rules read.

class TickSounds;

void onDisplay();
// A pass of the main loop with a given number of due ticks: they run, then the
// frame is drawn and shown. Tests and benchmarks call it with their own counts.
void playFrame(int ticks);
// One tick of the game as it is played: the rules' tick, then the spin of the
// side panels, which turns with game time while the map is shown.
void runGameTick();
// What the ticks are heard doing: runGameTick lets it compare each tick's
// state before and after; the entry opens its sound, the sound key mutes it.
TickSounds& gameSounds();
// Everything of a frame but the buffer swap: clear, project, draw the screen.
// Drawing tests call it and read the back buffer.
void drawFrame();
void onReshape(int width, int height);
void drawTitleScreen();
void drawMapScreen();
void drawBattleScreen();
void drawEndScreen();
