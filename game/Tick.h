#pragma once
// One step of the rules, 1/60 s of game time. The main loop runs as many as
// the wall clock calls for before it draws; tests and headless replays run
// them back to back. A tick asks every command source of the Model for its
// commands, applies those due, then steps the screen's rules: the turn end
// once it is requested, or one battle step, ending the battle once that step
// reports it decided. The Model's TickReport says what the tick did, and
// the Model's observers are told it once the tick is over. Nothing here draws
// or reads the pointer.

void runTick();

// Whether every command source of the Model is ready for the next tick.
bool tickReady();
