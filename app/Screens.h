#pragma once
// The main loop's pass and the display side of the screen state machine: the
// idle callback runs the ticks that are due, then asks for a frame, which
// onDisplay draws, each screen with its own camera. Drawing reads the Model
// and changes nothing the rules read.

#include <functional>

class FramePacer;
class TickSounds;

// Work of the main loop around each frame's ticks, set once by a network
// game: taking what the link brought before them, sending after them.
struct FrameWork {
    std::function<void()> beforeTicks;
    std::function<void()> afterTicks;
};
FrameWork& frameWork();

// Ticks a source held back are owed, and run as soon as it is ready, at most
// this many, so that a network game that waited catches up with the clock.
constexpr int kMaxOwedTicks = 30;

// The loop's work before a frame: the frame work, then the ticks the pacer's
// clock calls for, as far as the sources are ready for them. It runs whether
// or not the window is seen: GLUT draws no frame for a covered window, and
// neither the game's clock nor the other machine of a network game should
// wait for one.
void runDueTicks(FramePacer& pacer);
// Draws the screen and shows it.
void onDisplay();
// A pass of the main loop with a given number of due ticks: as many of them
// run as the command sources are ready for, then the frame is drawn and shown.
// Returns the number run. Tests and benchmarks call it with their own counts.
int playFrame(int ticks);
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
