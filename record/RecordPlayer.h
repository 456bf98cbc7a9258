#pragma once
// Gives a record's commands back, each at the tick it was applied in: the
// source of a replay, whether shown in the window or run headless.
#include <cstddef>
#include <cstdint>

#include "game/CommandSource.h"
#include "record/Record.h"

class RecordPlayer final : public CommandSource {
public:
    explicit RecordPlayer(const Record& record) : record_(record) {}

    void give(std::uint64_t tick, CommandQueue& queue) override;

private:
    const Record& record_;
    std::size_t next_ = 0;  // the first entry not given yet
};
