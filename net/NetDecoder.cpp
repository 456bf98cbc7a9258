#include "net/NetDecoder.h"

#include "codec/CommandCodec.h"

NetCodec::Decoded NetDecoder::read() {
    NetCodec::Decoded decoded;
    readMessage(decoded.message);
    if (in_.sound() && in_.at() != in_.size()) {
        in_.refuse("bytes after the end of the message");
    }
    decoded.ok = in_.sound();
    decoded.error = in_.problem();
    return decoded;
}

void NetDecoder::readMessage(NetMessage& message) {
    std::uint64_t kind = 0;
    if (!in_.fixed(1, kind)) {
        return;
    }
    message.kind = static_cast<NetMessageKind>(kind);
    switch (message.kind) {
        case NetMessageKind::Hello:
            readHello(message);
            return;
        case NetMessageKind::Refusal:
            in_.text(NetMessage::kMaxText, message.text);
            return;
        case NetMessageKind::Welcome:
            readWelcome(message);
            return;
        case NetMessageKind::Inputs:
            readInputs(message);
            return;
        case NetMessageKind::Desync:
            in_.varint(message.mismatchTick);
            return;
    }
    in_.refuse("a message of an unknown kind");
}

bool NetDecoder::readHello(NetMessage& message) {
    std::uint64_t rules = 0;
    if (!in_.fixed(2, rules)) {
        return false;
    }
    message.rulesVersion = static_cast<int>(rules);
    return in_.text(NetMessage::kMaxText, message.text) && readSides(message);
}

bool NetDecoder::readSides(NetMessage& message) {
    std::uint64_t bits = 0;
    if (!in_.bounded(bits, 3, "sides that do not exist")) {
        return false;
    }
    for (int side = 0; side < kPlayerCount; ++side) {
        message.computer[side] = (bits >> side & 1u) != 0;
    }
    return true;
}

bool NetDecoder::readWelcome(NetMessage& message) {
    std::uint64_t seed = 0;
    std::uint64_t delay = 0;
    std::uint64_t length = 0;
    const std::uint8_t* record = nullptr;
    if (!in_.fixed(4, seed) || !readSides(message) ||
        !in_.bounded(delay, NetMessage::kMaxInputDelay, "an input delay out of range") ||
        (delay < NetMessage::kMinInputDelay && !in_.refuse("an input delay out of range")) ||
        !in_.varint(length) ||
        (length > NetMessage::kMaxRecord && !in_.refuse("a record too long")) ||
        !in_.span(length, record)) {
        return false;
    }
    message.seed = static_cast<std::uint32_t>(seed);
    message.inputDelay = static_cast<int>(delay);
    message.record.assign(record, record + length);
    return true;
}

bool NetDecoder::readInputs(NetMessage& message) {
    std::uint64_t ticks = 0;
    if (!in_.varint(message.received) || !in_.varint(message.firstTick) ||
        !in_.bounded(ticks, NetMessage::kMaxTicks, "too many ticks")) {
        return false;
    }
    if (message.firstTick > UINT64_MAX - ticks) {
        return in_.refuse("ticks past the last");
    }
    message.ticks.resize(ticks);
    for (TickCommands& commands : message.ticks) {
        if (!readTick(commands)) {
            return false;
        }
    }
    std::uint64_t hasHash = 0;
    if (!in_.bounded(hasHash, 1, "a hash flag out of range")) {
        return false;
    }
    message.hasHash = hasHash == 1;
    return !message.hasHash || (in_.varint(message.hashTick) && in_.fixed(8, message.hash));
}

bool NetDecoder::readTick(TickCommands& commands) {
    std::uint64_t count = 0;
    if (!in_.bounded(count, NetMessage::kMaxCommandsPerTick, "too many commands in a tick")) {
        return false;
    }
    commands.resize(count);
    for (Command& command : commands) {
        if (!CommandCodec::read(in_, command)) {
            return false;
        }
    }
    return true;
}
