#pragma once
// A change a player asks for: who asks, at which tick it takes effect and what
// it is. The keyboard and mouse, the computer player and any later source
// (a saved game, a network peer) all speak in commands; applyCommand is the one
// door through which they reach the rules, between two ticks.
#include <cstdint>

// The two ways a battle's lane cursor moves: towards lane 0, the leftmost on
// the battle screen, or towards the last lane.
enum class CursorMove : std::uint8_t { Left, Right };

enum class CommandKind : std::uint8_t {
    LeaveTitle,  // the key that starts the game
    ClickCell,   // a left click on the map, on the cell the cursor showed
    BuyShip,     // a ship on the home node for kShipPrice credits
    EndTurn,     // the player's own end-turn key
    MoveCursor,  // the player's battle cursor, one lane
    SendUnit,    // a unit of unitKind from the player's ship into its lane
};
constexpr int kCommandKinds = 6;

struct Command {
    CommandKind kind = CommandKind::LeaveTitle;
    int side = 0;                        // the player who gives it, 0 or 1
    std::uint64_t tick = 0;              // the tick before which it is applied
    int cellZ = 0;                       // ClickCell: the cell clicked, grid units
    int cellX = 0;                       //
    CursorMove move = CursorMove::Left;  // MoveCursor
    int unitKind = 0;                    // SendUnit: 0..kUnitKinds-1

    bool operator==(const Command& other) const {
        return kind == other.kind && side == other.side && tick == other.tick &&
               cellZ == other.cellZ && cellX == other.cellX && move == other.move &&
               unitKind == other.unitKind;
    }
};

// What a command's side and the state of the rules allow; a refused command
// changes nothing. True when it was carried out.
bool applyCommand(const Command& command);
