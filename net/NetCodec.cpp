#include "net/NetCodec.h"

#include <algorithm>

#include "battle/Unit.h"
#include "record/Bytes.h"

namespace {

constexpr int kKindBits = 0x0f;
constexpr int kDetailShift = 4;

void putText(std::vector<std::uint8_t>& out, const std::string& text) {
    const std::size_t length = std::min(text.size(), NetMessage::kMaxText);
    out.push_back(static_cast<std::uint8_t>(length));
    out.insert(out.end(), text.begin(), text.begin() + static_cast<std::ptrdiff_t>(length));
}

void putSides(std::vector<std::uint8_t>& out, const NetMessage& message) {
    putFixed(out, (message.computer[0] ? 1u : 0u) | (message.computer[1] ? 2u : 0u), 1);
}

void putCommand(std::vector<std::uint8_t>& out, const Command& command) {
    int detail = 0;
    if (command.kind == CommandKind::MoveCursor) {
        detail = command.move == CursorMove::Right ? 1 : 0;
    } else if (command.kind == CommandKind::SendUnit) {
        detail = command.unitKind;
    }
    out.push_back(
        static_cast<std::uint8_t>(static_cast<int>(command.kind) | detail << kDetailShift));
    if (command.kind == CommandKind::ClickCell) {
        putVarint(out, zigzag(command.cellZ));
        putVarint(out, zigzag(command.cellX));
    }
}

void putInputs(std::vector<std::uint8_t>& out, const NetMessage& message) {
    putVarint(out, message.received);
    putVarint(out, message.firstTick);
    const std::size_t ticks = std::min(message.ticks.size(), NetMessage::kMaxTicks);
    out.push_back(static_cast<std::uint8_t>(ticks));
    for (std::size_t i = 0; i < ticks; ++i) {
        const TickCommands& commands = message.ticks[i];
        const std::size_t count = std::min(commands.size(), NetMessage::kMaxCommandsPerTick);
        out.push_back(static_cast<std::uint8_t>(count));
        for (std::size_t c = 0; c < count; ++c) {
            putCommand(out, commands[c]);
        }
    }
    out.push_back(message.hasHash ? 1 : 0);
    if (message.hasHash) {
        putVarint(out, message.hashTick);
        putFixed(out, message.hash, 8);
    }
}

// Reads one message front to back; every read is bounded by the end of the
// bytes, and the first thing wrong ends the reading.
class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    NetCodec::Decoded read() {
        NetCodec::Decoded decoded;
        readMessage(decoded.message);
        if (failure_.empty() && at_ != size_) {
            fail("bytes after the end of the message");
        }
        decoded.ok = failure_.empty();
        decoded.error = failure_;
        return decoded;
    }

private:
    bool byte(std::uint64_t& value) { return fixed(1, value); }

    bool fixed(int bytes, std::uint64_t& value) {
        value = 0;
        if (size_ - at_ < static_cast<std::size_t>(bytes)) {
            return fail("a message cut short");
        }
        for (int i = 0; i < bytes; ++i) {
            value |= static_cast<std::uint64_t>(data_[at_++]) << (8 * i);
        }
        return true;
    }

    bool varint(std::uint64_t& value) {
        value = 0;
        for (int i = 0; i < kMaxVarintBytes; ++i) {
            std::uint64_t next = 0;
            if (!byte(next)) {
                return false;
            }
            value |= (next & 0x7fu) << (7 * i);
            if ((next & 0x80u) == 0) {
                // One way to write each number: a longer one would hide bits or
                // let two messages that differ mean the same.
                const bool shortest = i == 0 || next != 0;
                const bool fits = i < kMaxVarintBytes - 1 || next <= 1;
                return (shortest && fits) || fail("a number written out of form");
            }
        }
        return fail("a number too long");
    }

    // A count or value no greater than max.
    bool bounded(std::uint64_t& value, std::uint64_t max, const char* what) {
        return byte(value) && (value <= max || fail(what));
    }

    bool text(std::string& out) {
        std::uint64_t length = 0;
        if (!bounded(length, NetMessage::kMaxText, "a text too long")) {
            return false;
        }
        if (size_ - at_ < length) {
            return fail("a message cut short");
        }
        out.assign(reinterpret_cast<const char*>(data_ + at_), length);
        at_ += length;
        return true;
    }

    void readMessage(NetMessage& message) {
        std::uint64_t kind = 0;
        if (!byte(kind)) {
            return;
        }
        message.kind = static_cast<NetMessageKind>(kind);
        switch (message.kind) {
            case NetMessageKind::Hello:
                text(message.text) && sides(message);
                return;
            case NetMessageKind::Refusal:
                text(message.text);
                return;
            case NetMessageKind::Welcome:
                readWelcome(message);
                return;
            case NetMessageKind::Inputs:
                readInputs(message);
                return;
            case NetMessageKind::Desync:
                varint(message.mismatchTick);
                return;
        }
        fail("a message of an unknown kind");
    }

    bool sides(NetMessage& message) {
        std::uint64_t bits = 0;
        if (!bounded(bits, 3, "sides that do not exist")) {
            return false;
        }
        for (int side = 0; side < kPlayerCount; ++side) {
            message.computer[side] = (bits >> side & 1u) != 0;
        }
        return true;
    }

    void readWelcome(NetMessage& message) {
        std::uint64_t seed = 0;
        std::uint64_t delay = 0;
        std::uint64_t length = 0;
        if (!fixed(4, seed) || !sides(message) ||
            !bounded(delay, NetMessage::kMaxInputDelay, "an input delay out of range") ||
            (delay < NetMessage::kMinInputDelay && !fail("an input delay out of range")) ||
            !varint(length)) {
            return;
        }
        if (length > NetMessage::kMaxRecord || size_ - at_ < length) {
            fail(length > NetMessage::kMaxRecord ? "a record too long" : "a message cut short");
            return;
        }
        message.seed = static_cast<std::uint32_t>(seed);
        message.inputDelay = static_cast<int>(delay);
        message.record.assign(data_ + at_, data_ + at_ + length);
        at_ += length;
    }

    void readInputs(NetMessage& message) {
        std::uint64_t ticks = 0;
        if (!varint(message.received) || !varint(message.firstTick) ||
            !bounded(ticks, NetMessage::kMaxTicks, "too many ticks")) {
            return;
        }
        if (message.firstTick > UINT64_MAX - ticks) {
            fail("ticks past the last");
            return;
        }
        message.ticks.resize(ticks);
        for (TickCommands& commands : message.ticks) {
            if (!readTick(commands)) {
                return;
            }
        }
        std::uint64_t hasHash = 0;
        if (!bounded(hasHash, 1, "a hash flag out of range")) {
            return;
        }
        message.hasHash = hasHash == 1;
        if (message.hasHash && varint(message.hashTick)) {
            fixed(8, message.hash);
        }
    }

    bool readTick(TickCommands& commands) {
        std::uint64_t count = 0;
        if (!bounded(count, NetMessage::kMaxCommandsPerTick, "too many commands in a tick")) {
            return false;
        }
        commands.resize(count);
        for (Command& command : commands) {
            if (!readCommand(command)) {
                return false;
            }
        }
        return true;
    }

    bool readCommand(Command& command) {
        std::uint64_t tag = 0;
        if (!byte(tag)) {
            return false;
        }
        const int kind = static_cast<int>(tag) & kKindBits;
        const int detail = static_cast<int>(tag) >> kDetailShift;
        if (kind >= kCommandKinds) {
            return fail("an unknown command");
        }
        command.kind = static_cast<CommandKind>(kind);
        switch (command.kind) {
            case CommandKind::MoveCursor:
                command.move = detail == 1 ? CursorMove::Right : CursorMove::Left;
                return detail <= 1 || fail("an unknown cursor move");
            case CommandKind::SendUnit:
                command.unitKind = detail;
                return detail < kUnitKinds || fail("an unknown unit kind");
            case CommandKind::ClickCell:
                return (detail == 0 || fail("an unknown command")) && readCell(command);
            default:
                return detail == 0 || fail("an unknown command");
        }
    }

    bool readCell(Command& command) {
        std::uint64_t z = 0;
        std::uint64_t x = 0;
        if (!varint(z) || !varint(x)) {
            return false;
        }
        const std::int64_t cellZ = unzigzag(z);
        const std::int64_t cellX = unzigzag(x);
        if (cellZ < INT32_MIN || cellZ > INT32_MAX || cellX < INT32_MIN || cellX > INT32_MAX) {
            return fail("a cell out of range");
        }
        command.cellZ = static_cast<int>(cellZ);
        command.cellX = static_cast<int>(cellX);
        return true;
    }

    // Always false, so that a read can end with it.
    bool fail(const std::string& why) {
        if (failure_.empty()) {
            failure_ = why;
        }
        at_ = size_;
        return false;
    }

    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
    std::string failure_;
};

}  // namespace

std::vector<std::uint8_t> NetCodec::encode(const NetMessage& message) {
    std::vector<std::uint8_t> out;
    out.push_back(static_cast<std::uint8_t>(message.kind));
    switch (message.kind) {
        case NetMessageKind::Hello:
            putText(out, message.text);
            putSides(out, message);
            break;
        case NetMessageKind::Refusal:
            putText(out, message.text);
            break;
        case NetMessageKind::Welcome:
            putFixed(out, message.seed, 4);
            putSides(out, message);
            putFixed(out, static_cast<std::uint64_t>(message.inputDelay), 1);
            putVarint(out, message.record.size());
            out.insert(out.end(), message.record.begin(), message.record.end());
            break;
        case NetMessageKind::Inputs:
            putInputs(out, message);
            break;
        case NetMessageKind::Desync:
            putVarint(out, message.mismatchTick);
            break;
    }
    return out;
}

NetCodec::Decoded NetCodec::decode(const std::uint8_t* data, std::size_t size) {
    return Reader(data, size).read();
}
