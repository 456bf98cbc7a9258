#pragma once
// The map: grows the nodes into a connected hexagonal shape once at start-up,
// links neighbours, records the bounds, and afterwards finds nodes by grid
// position, searches paths, runs the nodes' end-of-turn effects, handles map
// clicks and draws the map.

class Node;
class Selector;

class NodeMap {
public:
    // game/NodeMap.cpp; generate walks with game/GrowthWalk.h
    explicit NodeMap(int count);
    ~NodeMap();
    NodeMap(const NodeMap&) = delete;
    NodeMap& operator=(const NodeMap&) = delete;
    Node* findNode(int gridZ, int gridX) const;
    void linkNeighbors(Node* node);
    void generate(int count);

    // game/PathSearch.cpp
    void enqueue(Node* node);
    Node* findNextStep(Node* start, Node* target);

    // game/TurnCycle.cpp
    void endTurnAll();

    // app/ClickHandling.cpp: a left click on the map, on the cell the cursor
    // showed when it was pressed (a ClickCell command).
    void handleClick(int cellZ, int cellX);

    // render/MapDrawing.cpp
    void drawMap();

    Node** nodes = nullptr;        // the Model's node list, not owned
    Node** queue = nullptr;        // path search queue, nodeCount entries, owned
    int queueHead = 0;             // next queue entry to process
    int queueTail = 0;             // entries pushed in this search
    bool searchDone = false;       // ends the search loop
    Selector* selector = nullptr;  // the Model's selector, not owned
};

// Raised when a placement or link names a slot outside 0..5.
constexpr const char* kNeighborOutsideBounds = "PICKED NEIGHBOR OUTSIDE BOUNDS";
