#pragma once
// Every key a player presses, written once: the input callbacks read them to
// make commands and the side panels draw them, so the screen names the keys
// that work. Letters are lower case only; upper case does nothing.
#include "battle/Unit.h"
#include "game/Model.h"

struct PlayerKeys {
    char endTurn;               // on the map, on the player's own turn
    char cursorLeft;            // battle cursor towards lane 0
    char cursorRight;           // battle cursor towards the last lane
    char sendUnit[kUnitKinds];  // one unit of kind 0..3 into the cursor's lane
};

constexpr PlayerKeys kPlayerKeys[kPlayerCount] = {
    {'q', 'w', 'e', {'a', 's', 'd', 'f'}},
    {'p', 'i', 'o', {'j', 'k', 'l', ';'}},
};

constexpr char kBuyShipKey = ' ';  // for the player on turn
constexpr char kSoundKey = 'm';    // sound off and on, on every screen but the title
constexpr unsigned char kEscapeKey = 27;

// While a record is shown.
constexpr char kPauseReplayKey = ' ';
constexpr char kFastReplayKey = 'f';
constexpr int kFastReplaySpeed = 4;
