#pragma once
// Shared by the long-running tests that drive the game through its own
// callbacks in the GL test process: a fresh game as the entry creates it and
// the process's memory use. They check the game with brokenInvariant.
#include <cstdint>

class Model;

// The soak's settings from the environment: KARVOSSA_SOAK_EVENTS, the number
// of events (defaultEvents unless it holds a positive number), and
// KARVOSSA_SOAK_SEED, the seed of one game to replay alone (0 for none).
long soakEventsFromEnvironment(long defaultEvents);
std::uint32_t soakReplaySeed();

// Throws away the previous game and creates a new world from seed, with the
// window size of the test window and the window's starting GL state (the end
// screen leaves lighting off for good). The screen is the title screen.
Model* startSoakGame(std::uint32_t seed);

// Throws away the last game and leaves the window's GL state as it was found,
// for the tests that run after.
void endSoakGames();

// What this process holds, in bytes: resident pages, and the part of all
// malloc arenas in use. Memory a game kept grows both; the resident size
// alone also grows when the allocator keeps a freed block (a driver that
// once needed more while other windows came and went leaves the arena top
// higher), which gives nothing up over hours of play.
struct MemoryUse {
    long resident = 0;
    long heap = 0;
};
MemoryUse memoryUse();

// Takes in the window's pending events, as the game's main loop does between
// frames. The test window shares its X server with the other test processes,
// whose windows come and go; the events that brings would otherwise pile up
// in the window's queue and count as memory the game kept.
void takeWindowEvents();
