#pragma once
// The game the seeded screen tours play, worked out with the game's own rules
// before the program starts: player 0's ship steps next to its home and waits
// there collecting units, player 1's ship is ordered two steps on to a
// neighbour of it, and player 0 attacks when its turn comes round. Also the
// colours by which the tours read the map and battle screens.
#include <cstdint>
#include <functional>
#include <vector>

#include "support/E2eGame.h"
#include "support/E2eMap.h"
#include "support/E2ePicture.h"

// Where the ships stand at each stage of the play.
struct BattlePlan {
    Cell home0;     // player 0's home, its ship's start
    Cell wait0;     // the neighbour player 0's ship steps onto and waits on
    int waitKind;   // that node's kind, 0..3: the kind of unit the ship collects
    Cell home1;     // player 1's home, its ship's start
    Cell halfway1;  // player 1's ship's first step, taken at its order
    Cell meet1;     // its second step, taken at the start of its next turn: a
                    // neighbour of wait0, where the attack finds it
    int stock0;     // units player 0's ship holds when the attack is due
    int stock1;     // units player 1's ship holds then
};

// Every plan for the map grown from seed, in slot order of wait0 and then of
// meet1, that the library's play bears out: after player 1's order and
// waitingPairs pairs of turns, player 0 is on turn with its ship unmoved on
// wait0 and units in stock, and player 1's ship stands on meet1. None unless
// the homes lie four hops apart.
std::vector<BattlePlan> playablePlans(const GrownMap& map, std::uint32_t seed, int waitingPairs);

// The small pure red hexagon floating over the pointer.
bool isPointerMark(Pixel p);
// Much of a selected ship's tile, lit that brightly.
bool isWhite(Pixel p);
// A ship's deck, and the ground where no node stands.
bool isBlack(Pixel p);
// The colours of players 0 and 1 in the end-turn line.
bool isReddish(Pixel p);
bool isBluish(Pixel p);
// The lane colour (0.9, 0.5, 0.3), drawn unlit: nothing on the map has it.
bool isLane(Pixel p);
// Units are drawn unlit: the faces in their owner's dark colour show it flat.
bool isPlayer0Unit(Pixel p);
bool isPlayer1Unit(Pixel p);

// The end-turn line at the top of the map screen is drawn in the colour of the
// player on turn.
bool showsTurnOf(const Picture& picture, int player);

// The mean row of the region's pixels that pass the test; the bottom row of
// the picture when none does.
double meanRow(const Picture& picture, const ScreenRect& region,
               const std::function<bool(Pixel)>& test);

// The pixel nearest a projected point.
Pixel pixelAt(const Picture& picture, ScreenPoint point);

// A ship's black deck covers the middle of its node; without a ship the node
// shows its tile or its owner cap there.
bool showsShip(const Picture& picture, const MapCamera& camera, Cell cell);

// The map screen as a live game draws it from a still pointer in the middle:
// the middle half of the screen mostly lit, the plain tiles, the side panels'
// pictures in colour, and every ship in `ships` that is in view with its black
// deck framed in its player's colours (hull, cap, rim).
bool showsDrawnMap(const Picture& picture, const GrownMap& map, const std::vector<Cell>& ships);

// Pixels passing the test in the square reaching that far (world units)
// around the cell's centre at height y.
int countOnCell(const Picture& picture, const MapCamera& camera, Cell cell, double y, double reach,
                const std::function<bool(Pixel)>& test);
