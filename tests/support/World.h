#pragma once
// The worlds tests and benchmarks play on, and the moves and counts they all
// make on one. buildWorld() seeds the generator and then creates what it is
// asked for in the game's own order (nodes, players, selector, side panels,
// node map), so that a seed always gives the same world; only a test of that
// order itself writes it out. Nothing here calls GL; a drawable class compiles
// its display lists with its first object made while a window's context is
// current, or at its first draw in one.
#include <cstdint>

class Battle;
class Model;

constexpr int kWorldNodes = 50;  // as many as a game has

// What buildWorld creates besides the nodes.
enum WorldParts : unsigned {
    kPlayersPart = 1u << 0,  // both players, each on its kind-4 home with one ship
    kSelectorPart = 1u << 1,
    kHudPart = 1u << 2,      // the side panels
    kNodeMapPart = 1u << 3,  // the growth: the nodes get their cells and neighbours
    kGrownWorld = kPlayersPart | kSelectorPart | kNodeMapPart,
};

// The Model with nodeCount nodes and the parts, grown from seed. Without
// kNodeMapPart it stops where the growth would start: Random::currentState()
// is then the state the growth begins from.
Model* buildWorld(std::uint32_t seed, int nodeCount = kWorldNodes, unsigned parts = kGrownWorld);

// The world as the entry creates it, title board and side panels included, in
// a window of the given size; on the title screen.
Model* buildWholeGame(std::uint32_t seed, int windowWidth, int windowHeight);

// Ends the turn of the player on turn, as the next map frame does after the
// end-turn key.
void endTurn(Model* model);

// The key that ends the turn of the player on turn.
unsigned char endTurnKey(const Model* model);

// Units of both sides in all the battle's lanes.
int unitsInLanes(const Battle* battle);
