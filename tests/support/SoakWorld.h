#pragma once
// Shared by the long-running tests that drive the game through its own
// callbacks in the GL test process: a fresh game as the entry creates it, the
// pixel that puts the map selector on a given cell, the invariants of a game
// in any state, and the process's resident memory.
#include <cstdint>
#include <string>

#include "game/Node.h"

class Model;

// Throws away the previous game and creates a new world from seed, with the
// window size of the test window and the window's starting GL state (the end
// screen leaves lighting off for good). The screen is the title screen.
Model* startSoakGame(std::uint32_t seed);

// Throws away the last game and leaves the window's GL state as it was found,
// for the tests that run after.
void endSoakGames();

// Names the first invariant of the game state that is broken, or is empty:
// node ownership against the players' totals and kind counts, ships against
// their nodes, stocks, credits, the selection, the screen and the battle.
std::string brokenInvariant(const Model* model);

// Resident set size of this process in bytes.
long residentBytes();
