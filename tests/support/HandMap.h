#pragma once
// Small maps laid out by hand for the rule tests. build() makes the Model's
// world as the game does (nodes, two players with their home ships, selector,
// node map), then throws the grown layout away and stands node i on cells[i],
// linked by the game's own neighbour rule. As in every game, nodes 0 and 1 are
// the kind-4 homes of players 0 and 1, each owned and holding one ship.
#include <gtest/gtest.h>

#include <vector>

#include "game/Command.h"

class Model;
class Node;
class Player;
class Ship;
class TickReport;

struct HandCell {
    int gridZ;
    int gridX;
};

class HandMap {
public:
    static void build(const std::vector<HandCell>& cells);

    static Node* node(int index);      // the Model's node `index`
    static Player* player(int index);  // the Model's player `index`

    // A free ship for the player on the node; null when the node holds one.
    static Ship* placeShip(int playerIndex, int nodeIndex);
    // Removes every ship of both players, the home ships included.
    static void removeAllShips();

    // A command of the side for the next tick; a click is on node `nodeIndex`.
    static Command command(CommandKind kind, int side, int nodeIndex = -1);
    // Runs one tick with the commands, as the main loop does; what it did.
    static const TickReport& tickWith(const std::vector<Command>& commands);

    // Node i at (2i, 0): slot 0 leads to the next node, slot 3 back.
    static std::vector<HandCell> line(int count);
    // Six nodes round an empty centre; node i sits in the centre's slot i, so
    // each node touches exactly the nodes before and after it (i +- 1 mod 6).
    static std::vector<HandCell> ring();
    // Nodes 0, 1, 2 form a straight corridor (0 - 1 - 2); nodes 3 to 7 form a
    // side path 0 - 3 - 4 - 5 - 6 - 7 - 2 that touches the corridor only at its
    // two ends.
    static std::vector<HandCell> corridor();
};

// Every rule test starts from a fresh Model. build() makes the hand map and
// names its Model and players for the test.
class HandMapTest : public ::testing::Test {
protected:
    void build(const std::vector<HandCell>& cells);
    void TearDown() override;

    Model* model = nullptr;
    Player* first = nullptr;   // player 0
    Player* second = nullptr;  // player 1
};
