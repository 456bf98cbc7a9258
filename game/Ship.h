#pragma once
// A fleet standing on one node, owned by one player, carrying a stock of units
// of the four kinds. Ships take nodes by stepping onto them, one node per turn
// of their owner, along the shortest free path to their destination.
#include "battle/Unit.h"
#include "render/DrawableGeometry.h"

class Node;
class Player;

constexpr int kStockCap = 10;
constexpr int kFullHealth = 10000000;

class Ship final : public DrawableGeometry {
public:
    // game/Ship.cpp
    explicit Ship(Player* shipOwner);
    bool moveTo(Node* node);
    void setDestination(Node* node);
    void turnMove();
    void collect(int kind);
    Unit* spawnUnit(int kind);
    int totalStock() const;  // units of every kind in unitStock

    // render/ShipDrawing.cpp
    void buildLists() override;
    void draw() override;
    void drawGauges();
    void drawAtNode();

    float height = 0.25f;      // drawing height of the ship shape
    bool moved = false;        // moved during the current turn of its owner
    Node* location = nullptr;  // node standing on; its ship field names this ship
    Player* owner = nullptr;
    Node* destination = nullptr;     // null when the ship has no order
    int unitStock[kUnitKinds] = {};  // units for battle by kind, each 0..10
    int health = kFullHealth;        // lowered only in battle

    static inline bool listsBuilt = false;
    static inline unsigned shipList = 0;
};
