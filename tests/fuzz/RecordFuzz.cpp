// The record decoder against arbitrary bytes: it must answer every input
// without reading outside it, and whatever it accepts must come back the same
// when written out again and read once more.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "record/RecordCodec.h"

namespace {

bool sameEntries(const Record& a, const Record& b) {
    if (a.entries.size() != b.entries.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.entries.size(); ++i) {
        const RecordEntry& x = a.entries[i];
        const RecordEntry& y = b.entries[i];
        if (x.kind != y.kind || x.tick != y.tick || x.hash != y.hash || x.loser != y.loser ||
            x.mismatchTick != y.mismatchTick || !(x.command == y.command)) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const RecordCodec::Decoded decoded = RecordCodec::decode(data, size);
    if (!decoded.ok) {
        return 0;
    }
    std::vector<std::uint8_t> again;
    std::uint32_t state = 0;
    RecordCodec::encodeHeader(decoded.record.header, again, state);
    std::uint64_t tick = 0;
    for (const RecordEntry& entry : decoded.record.entries) {
        RecordCodec::encodeEntry(entry, tick, again, state);
        tick = entry.tick;
    }
    const RecordCodec::Decoded reread = RecordCodec::decode(again.data(), again.size());
    if (!reread.ok || reread.record.cutOff || !sameEntries(decoded.record, reread.record) ||
        reread.record.header.seed != decoded.record.header.seed) {
        std::abort();
    }
    return 0;
}
