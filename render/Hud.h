#pragma once
// The fixed overlays: on the map screen one panel per player (ships, nodes by
// kind, credits) with the two help lines; on the battle screen each player's
// keys and ship. Drawn in eye coordinates before the screen sets its camera.
#include "render/DrawableGeometry.h"

class Node;
class Ship;

constexpr float kHudTextScale = 0.001f;  // font units to eye units

class Hud final : public DrawableGeometry {
public:
    // render/Hud.cpp: the class, its lists and the map screen's panels
    Hud();   // needs the Model's players
    ~Hud();  // destroys the icon nodes and preview ships

    void buildLists() override;
    // The panels of the screen shown: the battle's in a battle, else the turn's.
    void draw() override;
    // Turns both panels by one tick's worth, the on-turn player's ten times faster.
    void advanceSpin(int currentPlayer);
    void drawTurnHud();
    // Shrinks what follows towards the middle of windows narrower than 16:10.
    static void fitToWindow();
    static void scaleToText();

    // render/BattleHud.cpp: each player's keys and ship on the battle screen
    void buildLegends();
    void drawBattleHud();

    Node** leftIcons = nullptr;   // icon nodes of kinds 0..4, owned by player 0
    Ship* leftShip = nullptr;     // player 0's preview ship
    float leftAngle = 0;          // spin of player 0's panel, degrees; +5 rows a tick
    Node** rightIcons = nullptr;  // icon nodes of kinds 0..4, owned by player 1
    Ship* rightShip = nullptr;    // player 1's preview ship
    float rightAngle = 0;         // spin of player 1's panel, degrees; +5 rows a tick

    // render/NetworkHud.cpp: what a network game adds to the screens.
    // "you", centred at eye (sideX[side], y, depth) and scaled, for the side
    // played at this machine; nothing in a game played at one machine.
    static void drawYou(const float (&sideX)[2], float y, float depth, float scale);
    // "waiting for the other player", while the Model says so.
    static void drawWaiting();
    // The same words centred on the current origin, at 0.8 of the font's size:
    // 1664 font units long, as wide as "press space" on the title board.
    static void writeWaiting();

    static inline bool listsBuilt = false;
    static inline unsigned leftKeysList = 0;
    static inline unsigned rightKeysList = 0;
};
