#include "record/RecordPlayer.h"

#include "game/CommandQueue.h"

void RecordPlayer::give(std::uint64_t tick, CommandQueue& queue) {
    const std::size_t count = record_.entries.size();
    for (; next_ < count && record_.entries[next_].tick <= tick; ++next_) {
        const RecordEntry& entry = record_.entries[next_];
        if (entry.kind == RecordEntry::Kind::Command) {
            Command command = entry.command;
            command.tick = entry.tick;
            queue.push(command);
        }
    }
}
