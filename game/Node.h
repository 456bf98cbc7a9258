#pragma once
// One hexagonal cell of the map. A node is a game object (kind, grid place,
// owner, the ship standing on it, links to its six neighbours, the distance of
// the current path search) that also draws itself as a tile with marks.
#include "game/Random.h"
#include "render/DrawableGeometry.h"

class Player;
class Ship;

// NodeKind: 0..3 feed a ship with units of that kind, 4 yields credits; -1 is
// the unset kind of the default constructor. Any other value produces nothing.
constexpr int kUnsetKind = -1;
constexpr int kCreditKind = 4;
constexpr int kNodeKinds = 5;

// Neighbour slot i moves (gridZ, gridX) by (kSlotDeltaZ[i], kSlotDeltaX[i]);
// the opposite slot is (i + 3) mod 6.
constexpr int kSlotCount = 6;
constexpr int kSlotDeltaZ[kSlotCount] = {2, 1, -1, -2, -1, 1};
constexpr int kSlotDeltaX[kSlotCount] = {0, 1, 1, 0, -1, -1};
constexpr int oppositeSlot(int slot) {
    return (slot + 3) % kSlotCount;
}
static_assert(oppositeSlot(oppositeSlot(1)) == 1 && kSlotDeltaZ[0] == -kSlotDeltaZ[oppositeSlot(0)],
              "opposite slots must undo each other");

// The slot a random direction starts its round from, for one draw: the whole
// part of the draw's fraction times six. The draw 32767 gives 6, which goes
// round in the same order as 0, so it is folded onto 0.
constexpr int startSlotOf(int drawn) {
    return static_cast<int>(Random::fraction(drawn) * kSlotCount) % kSlotCount;
}

constexpr int kUnplacedGrid = 99999;        // gridZ, gridX before placement
constexpr int kUnvisited = 999999999;       // distance after construction and turn ends
constexpr int kSearchCleared = 1215752191;  // distance after every path search
// A cleared node must look farther than any unvisited one, and both farther
// than any path over the nodes of a map.
static_assert(kSearchCleared > kUnvisited, "a cleared node would look reached");
static_assert(kUnvisited > 1000000, "an unvisited node must lie beyond every path");

// World position of a grid cell.
constexpr double kCellWidth = 1.6;  // x per gridX
constexpr double kCellDepth = 1.3;  // z per gridZ

class Node final : public DrawableGeometry {
public:
    // game/Node.cpp
    Node();
    explicit Node(int kind);
    ~Node();
    void initNode();
    void setKind(int newKind);
    int randomFreeDirection() const;  // a random empty slot, -1 when all six are used
    int randomUsedDirection() const;  // a random used slot, -1 when all six are empty
    // The first slot, going round from start, that is used (wantUsed) or empty;
    // -1 when there is none. The map growth's walk scans with it too.
    int firstSlotFrom(int start, bool wantUsed) const;
    bool isNeighbor(const Node* node) const;  // null matches an empty slot

    // game/NodeSelection.cpp
    void setSelected(bool on);

    // game/PathSearch.cpp
    void relax(const Node* target);
    Node* walkBack();

    // game/TurnCycle.cpp
    void endTurn();

    // render/NodeDrawing.cpp
    void buildLists() override;
    void draw() override;
    void drawAt();

    int kind = kUnsetKind;
    int gridZ = kUnplacedGrid;   // row; kUnplacedGrid until placed
    int gridX = kUnplacedGrid;   // column; gridZ + gridX even once placed
    int distance = kUnvisited;   // steps from the start during a path search
    bool selected = false;       // this node is the Model's selectedNode
    bool showOwner = false;      // draw the owner rim although no home node (panel icons)
    Player* owner = nullptr;     // owning player; null when none
    Ship* ship = nullptr;        // ship standing here; at most one
    int neighborCount = 0;       // non-null entries of neighbors
    Node** neighbors = nullptr;  // six slots, owned

    static inline bool listsBuilt = false;
    static inline unsigned tileList = 0;
    static inline unsigned kindMarkList = 0;
    static inline unsigned ownerCapList = 0;
    static inline unsigned ownerRimList = 0;
};
