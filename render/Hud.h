#pragma once
// The fixed overlays: on the map screen one panel per player (ships, nodes by
// kind, credits) with the two help lines; on the battle screen each player's
// keys and ship. Drawn in eye coordinates before the screen sets its camera.
#include "render/DrawableGeometry.h"

class Node;
class Ship;

class Hud final : public DrawableGeometry {
public:
    Hud();   // needs the Model's players
    ~Hud();  // destroys the icon nodes and preview ships

    void buildLists() override;
    void drawTurnHud();
    void drawBattleHud();

    Node** leftIcons = nullptr;   // icon nodes of kinds 0..4, owned by player 0
    Ship* leftShip = nullptr;     // player 0's preview ship
    float leftAngle = 0;          // spin of player 0's panel, degrees
    Node** rightIcons = nullptr;  // icon nodes of kinds 0..4, owned by player 1
    Ship* rightShip = nullptr;    // player 1's preview ship
    float rightAngle = 0;         // spin of player 1's panel, degrees

    static inline bool listsBuilt = false;
    static inline unsigned leftKeysList = 0;
    static inline unsigned rightKeysList = 0;
    static inline unsigned panelList = 0;
};
