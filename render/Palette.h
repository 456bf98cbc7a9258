#pragma once
// Colours shared by the game's drawing: the two players' colours, the kind
// colours (node kinds 0..3, unit kinds 0..3 and the stock bars share the first
// four; kind 4 is the credit node) and the grey of an unset node kind.

#include "game/Model.h"
#include "game/Node.h"

class Player;

struct Colour {
    float r, g, b;
};

constexpr Colour kPlayerDark[kPlayerCount] = {{0.6f, 0.2f, 0.2f}, {0.2f, 0.2f, 0.6f}};
constexpr Colour kPlayerLight[kPlayerCount] = {{1.0f, 0.6f, 0.6f}, {0.6f, 0.6f, 1.0f}};
constexpr Colour kKindColours[kNodeKinds] = {{0.0f, 0.0f, 1.0f},
                                             {0.2f, 0.4f, 0.1f},
                                             {0.5f, 0.5f, 1.0f},
                                             {1.0f, 0.0f, 0.0f},
                                             {0.1f, 0.1f, 0.1f}};
constexpr Colour kUnsetKindColour{0.3f, 0.3f, 0.3f};
// A node kind's colour; any kind outside 0..4 is shown as unset.
constexpr Colour kindColour(int kind) {
    return kind >= 0 && kind < kNodeKinds ? kKindColours[kind] : kUnsetKindColour;
}
constexpr Colour kWhite{1.0f, 1.0f, 1.0f};
constexpr Colour kGreen{0.0f, 1.0f, 0.0f};

// Sends the colour with glColor3f, for unlit drawing and display lists.
void setColour(const Colour& c);

// 0 for player 0, 1 for anybody else (player 1, or an owner that is none).
int colourIndex(const Player* owner);
