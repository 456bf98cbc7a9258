#pragma once
// What holds in every state a game can reach, whatever drove it there: the
// whole-game rule test checks it after every order and turn end, the soak and
// memory tests after every event they send through the game's callbacks.
#include <string>

class Model;

// Names the first invariant of the game state that is broken, or is empty:
// the screen and the player on turn, node ownership against the players'
// totals, kind counts and node lists, ships against their owners and nodes,
// stocks, credits, the selection and the battle.
std::string brokenInvariant(const Model* model);
