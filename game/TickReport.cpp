#include "game/TickReport.h"

#include "game/Invariant.h"

TickReport::TickReport() {
    events_.reserve(kRoomForEvents);
    commands_.reserve(kRoomForEvents / 8);
}

void TickReport::begin(std::uint64_t tick) {
    KARVOSSA_ASSERT(tick >= nextTick_, "a tick ran again or out of order");
    nextTick_ = tick + 1;
    tick_ = tick;
    open_ = true;
    kinds_ = 0;
    commands_.clear();
    events_.clear();
}

// The one place a command is stamped with the tick it took effect in: one
// that came too late for its own tick is kept as taking effect here.
void TickReport::addCommand(const Command& command, bool accepted) {
    if (!open_) {
        return;
    }
    commands_.push_back({command, accepted});
    commands_.back().command.tick = tick_;
}
