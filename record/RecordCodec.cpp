#include "record/RecordCodec.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "record/Bytes.h"

namespace {

constexpr int kKindBits = 0x0f;
constexpr int kSideShift = 4;
constexpr int kDetailShift = 5;
constexpr int kHashTag = 6;
constexpr int kFinishedTag = 7;
constexpr int kDesyncTag = 8;
constexpr std::size_t kMaxVersionLength = 64;

std::array<std::uint32_t, 256> crcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t c = i;
        for (int bit = 0; bit < 8; ++bit) {
            c = (c & 1u) != 0 ? 0xedb88320u ^ (c >> 1) : c >> 1;
        }
        table[i] = c;
    }
    return table;
}

// CRC-32 carried over the whole file: state is the CRC of every byte so far.
std::uint32_t crcOver(std::uint32_t state, const std::uint8_t* data, std::size_t size) {
    static const std::array<std::uint32_t, 256> table = crcTable();
    std::uint32_t c = ~state;
    for (std::size_t i = 0; i < size; ++i) {
        c = table[(c ^ data[i]) & 0xffu] ^ (c >> 8);
    }
    return ~c;
}

// The check closes what was appended since `from`, and counts itself in.
void closeWithCheck(std::vector<std::uint8_t>& out, std::size_t from, std::uint32_t& state) {
    state = crcOver(state, out.data() + from, out.size() - from);
    const std::size_t checkAt = out.size();
    putFixed(out, state & 0xffffu, 2);
    state = crcOver(state, out.data() + checkAt, 2);
}

int tagOf(const RecordEntry& entry) {
    if (entry.kind == RecordEntry::Kind::Hash) {
        return kHashTag;
    }
    if (entry.kind == RecordEntry::Kind::Finished) {
        return kFinishedTag | (entry.loser << kDetailShift);
    }
    if (entry.kind == RecordEntry::Kind::Desync) {
        return kDesyncTag;
    }
    const Command& c = entry.command;
    int detail = 0;
    if (c.kind == CommandKind::MoveCursor) {
        detail = c.move == CursorMove::Right ? 1 : 0;
    } else if (c.kind == CommandKind::SendUnit) {
        detail = c.unitKind;
    }
    return static_cast<int>(c.kind) | (c.side << kSideShift) | (detail << kDetailShift);
}

// Reads the bytes of one record front to back; every read is bounded by the
// end of the data, and the first thing wrong ends the reading.
class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    RecordCodec::Decoded read() {
        readHeader();
        while (failure_.empty() && at_ < size_ && !cutOff_) {
            readEntry();
        }
        RecordCodec::Decoded decoded;
        decoded.ok = failure_.empty();
        decoded.error = failure_;
        if (cutOff_ && decoded.ok) {
            decoded.note = "its last entry was cut off and is dropped";
        }
        record_.cutOff = cutOff_;
        decoded.record = std::move(record_);
        return decoded;
    }

private:
    bool has(std::size_t bytes) const { return size_ - at_ >= bytes; }

    // Running out inside an entry cuts it off; inside the header, the file
    // never was a record.
    bool need(std::size_t bytes) {
        if (has(bytes)) {
            return true;
        }
        if (inHeader_) {
            fail("not a game record (too short)");
        } else {
            cutOff_ = true;
        }
        return false;
    }

    std::uint64_t fixed(int bytes) {
        std::uint64_t value = 0;
        for (int i = 0; i < bytes; ++i) {
            value |= static_cast<std::uint64_t>(data_[at_ + i]) << (8 * i);
        }
        at_ += bytes;
        return value;
    }

    bool varint(std::uint64_t& value) {
        value = 0;
        for (int i = 0; i < kMaxVarintBytes; ++i) {
            if (!need(1)) {
                return false;
            }
            const std::uint8_t byte = data_[at_++];
            value |= static_cast<std::uint64_t>(byte & 0x7fu) << (7 * i);
            if ((byte & 0x80u) == 0) {
                return true;
            }
        }
        fail("corrupted at byte " + std::to_string(at_));
        return false;
    }

    bool signedVarint(std::int64_t& value) {
        std::uint64_t raw = 0;
        if (!varint(raw)) {
            return false;
        }
        value = unzigzag(raw);
        return true;
    }

    // True when the check matches; a file cut inside the check lost the entry.
    bool check(std::size_t from) {
        if (!need(2)) {
            return false;
        }
        state_ = crcOver(state_, data_ + from, at_ - from);
        const std::uint64_t stored = fixed(2);
        if (stored != (state_ & 0xffffu)) {
            fail("corrupted at byte " + std::to_string(from));
            return false;
        }
        state_ = crcOver(state_, data_ + at_ - 2, 2);
        return true;
    }

    void readHeader() {
        if (!has(sizeof RecordCodec::kMagic) ||
            std::memcmp(data_, RecordCodec::kMagic, sizeof RecordCodec::kMagic) != 0) {
            fail("not a game record");
            return;
        }
        at_ = sizeof RecordCodec::kMagic;
        if (!need(2)) {
            return;
        }
        RecordHeader& header = record_.header;
        header.formatVersion = static_cast<int>(fixed(1));
        if (header.formatVersion != RecordCodec::kFormatVersion) {
            fail("a record of format version " + std::to_string(header.formatVersion) +
                 ", and this program reads version " + std::to_string(RecordCodec::kFormatVersion));
            return;
        }
        const std::size_t versionLength = fixed(1);
        if (versionLength > kMaxVersionLength || !need(versionLength + 4 + 1 + 8)) {
            fail(failure_.empty() ? "corrupted at byte 9" : failure_);
            return;
        }
        header.gameVersion.assign(reinterpret_cast<const char*>(data_ + at_), versionLength);
        at_ += versionLength;
        header.seed = static_cast<std::uint32_t>(fixed(4));
        const std::uint64_t sides = fixed(1);
        header.startTime = fixed(8);
        if (!check(0)) {
            fail(failure_.empty() ? "not a game record (too short)" : failure_);
            return;
        }
        if (sides > 3) {
            fail("corrupted at byte 0");
            return;
        }
        for (int side = 0; side < kPlayerCount; ++side) {
            header.computer[side] = (sides >> side & 1u) != 0;
        }
        inHeader_ = false;
        record_.completeBytes = at_;
        record_.checkState = state_;
    }

    void readEntry() {
        const std::size_t start = at_;
        if (finished_) {
            fail("entries after the end of the game at byte " + std::to_string(start));
            return;
        }
        const int tag = data_[at_++];
        std::int64_t difference = 0;
        RecordEntry entry;
        pendingUnknown_ = false;
        back_ = 0;
        if (!signedVarint(difference) || !readBody(tag, entry) || !check(start)) {
            return;
        }
        // Told only once the check holds: a changed byte is a corruption.
        if (pendingUnknown_) {
            fail("an unknown command at byte " + std::to_string(start));
            return;
        }
        if (difference < 0 || static_cast<std::uint64_t>(difference) > UINT64_MAX - tick_) {
            fail("the ticks go backwards at byte " + std::to_string(start));
            return;
        }
        tick_ += static_cast<std::uint64_t>(difference);
        entry.tick = tick_;
        if (entry.kind == RecordEntry::Kind::Desync && back_ > tick_) {
            fail("a mismatch before the game's start at byte " + std::to_string(start));
            return;
        }
        entry.mismatchTick = entry.kind == RecordEntry::Kind::Desync ? tick_ - back_ : 0;
        finished_ = entry.kind == RecordEntry::Kind::Finished;
        record_.entries.push_back(entry);
        record_.completeBytes = at_;
        record_.checkState = state_;
    }

    bool readBody(int tag, RecordEntry& entry) {
        const int kind = tag & kKindBits;
        const int side = (tag >> kSideShift) & 1;
        const int detail = tag >> kDetailShift;
        if (kind == kHashTag) {
            entry.kind = RecordEntry::Kind::Hash;
            return need(4) && (entry.hash = fixed(4), known(side == 0 && detail == 0));
        }
        if (kind == kDesyncTag) {
            entry.kind = RecordEntry::Kind::Desync;
            return varint(back_) && known(side == 0 && detail == 0);
        }
        if (kind == kFinishedTag) {
            entry.kind = RecordEntry::Kind::Finished;
            entry.loser = detail;
            return known(side == 0 && detail < kPlayerCount);
        }
        if (kind >= kCommandKinds) {
            return known(false);
        }
        Command& c = entry.command;
        c.kind = static_cast<CommandKind>(kind);
        c.side = side;
        if (c.kind == CommandKind::MoveCursor) {
            c.move = detail == 1 ? CursorMove::Right : CursorMove::Left;
            return known(detail <= 1);
        }
        if (c.kind == CommandKind::SendUnit) {
            c.unitKind = detail;
            return true;  // a kind without units is the rules' to refuse
        }
        if (c.kind == CommandKind::ClickCell) {
            return readCell(c) && known(detail == 0);
        }
        return known(detail == 0);
    }

    bool readCell(Command& c) {
        std::int64_t z = 0;
        std::int64_t x = 0;
        if (!signedVarint(z) || !signedVarint(x)) {
            return false;
        }
        const bool fits = z >= INT32_MIN && z <= INT32_MAX && x >= INT32_MIN && x <= INT32_MAX;
        c.cellZ = fits ? static_cast<int>(z) : INT32_MAX;
        c.cellX = fits ? static_cast<int>(x) : INT32_MAX;
        return true;
    }

    // Notes an entry the program never writes (an unknown command, or bits set
    // that nothing reads); reading goes on to its check.
    bool known(bool wellFormed) {
        pendingUnknown_ = pendingUnknown_ || !wellFormed;
        return true;
    }

    void fail(const std::string& why) {
        if (failure_.empty()) {
            failure_ = why;
        }
    }

    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
    std::uint32_t state_ = 0;
    std::uint64_t tick_ = 0;
    bool inHeader_ = true;
    bool cutOff_ = false;
    bool finished_ = false;
    bool pendingUnknown_ = false;  // the entry being read is not one the program writes
    std::uint64_t back_ = 0;       // Desync: ticks from the mismatch to the entry's own
    std::string failure_;
    Record record_;
};

}  // namespace

void RecordCodec::encodeHeader(const RecordHeader& header, std::vector<std::uint8_t>& out,
                               std::uint32_t& state) {
    const std::size_t from = out.size();
    out.insert(out.end(), kMagic, kMagic + sizeof kMagic);
    out.push_back(static_cast<std::uint8_t>(kFormatVersion));
    const std::size_t length = std::min(header.gameVersion.size(), kMaxVersionLength);
    out.push_back(static_cast<std::uint8_t>(length));
    out.insert(out.end(), header.gameVersion.begin(), header.gameVersion.begin() + length);
    putFixed(out, header.seed, 4);
    putFixed(out, (header.computer[0] ? 1u : 0u) | (header.computer[1] ? 2u : 0u), 1);
    putFixed(out, header.startTime, 8);
    closeWithCheck(out, from, state);
}

void RecordCodec::encodeEntry(const RecordEntry& entry, std::uint64_t previousTick,
                              std::vector<std::uint8_t>& out, std::uint32_t& state) {
    const std::size_t from = out.size();
    out.push_back(static_cast<std::uint8_t>(tagOf(entry)));
    putVarint(out, zigzag(static_cast<std::int64_t>(entry.tick - previousTick)));
    if (entry.kind == RecordEntry::Kind::Hash) {
        putFixed(out, entry.hash & kRecordedHashMask, 4);
    } else if (entry.kind == RecordEntry::Kind::Desync) {
        putVarint(out, entry.tick - entry.mismatchTick);
    } else if (entry.kind == RecordEntry::Kind::Command &&
               entry.command.kind == CommandKind::ClickCell) {
        putVarint(out, zigzag(entry.command.cellZ));
        putVarint(out, zigzag(entry.command.cellX));
    }
    closeWithCheck(out, from, state);
}

RecordCodec::Decoded RecordCodec::decode(const std::uint8_t* data, std::size_t size) {
    return Reader(data, size).read();
}

std::vector<std::uint8_t> RecordCodec::encode(const Record& record) {
    std::vector<std::uint8_t> out;
    std::uint32_t state = 0;
    encodeHeader(record.header, out, state);
    std::uint64_t previous = 0;
    for (const RecordEntry& entry : record.entries) {
        encodeEntry(entry, previous, out, state);
        previous = entry.tick;
    }
    return out;
}
