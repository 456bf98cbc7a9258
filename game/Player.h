#pragma once
// One side of the game: the nodes it owns with a count per kind, its ships,
// its home node and its credits. Node ownership moves only through gainNode.

#include "game/Node.h"

class Ship;

constexpr int kShipPrice = 10;

class Player {
public:
    Player();   // room for the Model's nodeCount nodes and ships
    ~Player();  // destroys the player's ships
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    void gainNode(Node* node);
    void loseNode(Node* node);
    bool buyShip(Node* node);
    void buyShipAtHome();
    void moveShips();
    void drawShips();
    void removeShip(Ship* ship);

    Node** nodes = nullptr;           // owned nodes in the order gained; nodeTotal used
    Node* homeNode = nullptr;         // where bought ships appear; fixed for the game
    Ship** ships = nullptr;           // this player's ships, owned; shipCount used
    int nodeTotal = 0;                // number of nodes whose owner is this player
    int kindCounts[kNodeKinds] = {};  // owned nodes of kind 0..4
    int shipCount = 0;
    int credits = 0;  // never negative
};
