#pragma once
// What one tick did, said by the rules as they act rather than found out
// afterwards: the commands the tick applied, each with the gate's answer, and
// a list of plain events. runTick begins it with the tick's number and closes
// it once the rules have stepped; then the observers, the sounds and the
// replay read it. It stays as it is until the next tick begins. Outside a tick
// it is closed and takes nothing, so that building the world and tests that
// call the rules directly leave it empty.
#include <cstdint>
#include <vector>

#include "game/Command.h"

// A command as the gate answered it.
struct AppliedCommand {
    Command command;
    bool accepted = false;  // carried out; false when the gate dropped it
};

enum class TickEventKind : std::uint8_t {
    ShipBought,        // side's ship appeared on node
    ShipMoved,         // side's ship stepped onto node
    NodeTaken,         // node became side's
    ShipSelected,      // side's click selected its ship on node
    SelectionChanged,  // side's click changed the selection or gave an order, selecting no new ship
    TurnEnded,         // side's turn ended
    GameOver,          // side is left without nodes and has lost
    BattleBegun,       // side's ship attacked the ship on node
    BattleDecided,     // side's ship on node lost its battle and is gone
    UnitSent,          // side sent a unit into lane
    UnitHit,           // a unit of side in lane was struck and lives
    UnitKilled,        // a unit of side in lane was struck down
    ShipHit,           // side's ship was struck from lane; lane -1: it wore itself down
};
constexpr int kTickEventKinds = 13;

// Values only, never pointers: an event outlives the ship or unit it names.
struct TickEvent {
    TickEventKind kind = TickEventKind::ShipBought;
    int side = -1;  // the player, 0 or 1; -1 for an object without an owner
    int node = -1;  // index in the Model's nodes; -1 when none
    int lane = -1;  // battle lane 0..kLaneCount-1; -1 when none
};

class TickReport {
public:
    static constexpr int kRoomForEvents = 256;  // a full battle's step fits without allocating

    TickReport();
    // Empties the report for `tick` and opens it; keeps the lists' room.
    void begin(std::uint64_t tick);
    void close() { open_ = false; }
    bool isOpen() const { return open_; }

    // The command as applied in this tick, whatever tick it was given for.
    void addCommand(const Command& command, bool accepted);
    void add(TickEventKind kind, int side, int node = -1, int lane = -1);

    std::uint64_t tick() const { return tick_; }  // the tick reported
    const std::vector<AppliedCommand>& commands() const { return commands_; }
    const std::vector<TickEvent>& events() const { return events_; }
    bool has(TickEventKind kind) const { return (kinds_ & bitOf(kind)) != 0; }
    // The first event of the kind; null when the tick had none.
    const TickEvent* find(TickEventKind kind) const;

private:
    static std::uint32_t bitOf(TickEventKind kind) { return 1u << static_cast<int>(kind); }

    std::uint64_t tick_ = 0;
    std::uint64_t nextTick_ = 0;  // the earliest tick the next begin may report
    bool open_ = false;
    std::uint32_t kinds_ = 0;  // a bit for each kind among events_
    std::vector<AppliedCommand> commands_;
    std::vector<TickEvent> events_;
};
// Inline: a battle step adds an event for every blow.
inline void TickReport::add(TickEventKind kind, int side, int node, int lane) {
    if (!open_) {
        return;
    }
    // Written in place: a whole event built aside and copied in stalls the
    // copy's load on the stores of its fields.
    TickEvent& event = events_.emplace_back();
    event.kind = kind;
    event.side = side;
    event.node = node;
    event.lane = lane;
    kinds_ |= bitOf(kind);
}

inline const TickEvent* TickReport::find(TickEventKind kind) const {
    if (!has(kind)) {
        return nullptr;  // the common answer, without a walk through a battle's blows
    }
    for (const TickEvent& event : events_) {
        if (event.kind == kind) {
            return &event;
        }
    }
    return nullptr;
}

static_assert(kTickEventKinds <= 32, "every event kind needs its bit in TickReport::kinds_");
