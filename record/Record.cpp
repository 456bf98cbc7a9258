#include "record/Record.h"

bool Record::finished() const {
    return !entries.empty() && entries.back().kind == RecordEntry::Kind::Finished;
}

std::uint64_t Record::lastTick() const {
    return entries.empty() ? 0 : entries.back().tick;
}
