#include "net/NetCodec.h"

#include <algorithm>

#include "codec/ByteWriter.h"
#include "codec/CommandCodec.h"
#include "game/Invariant.h"
#include "net/NetDecoder.h"

namespace {

void putSides(ByteWriter& out, const NetMessage& message) {
    out.fixed((message.computer[0] ? 1u : 0u) | (message.computer[1] ? 2u : 0u), 1);
}

void putHello(ByteWriter& out, const NetMessage& message) {
    KARVOSSA_ASSERT(
        message.rulesVersion >= 0 && message.rulesVersion <= NetMessage::kMaxRulesVersion,
        "a rules version that fits its two bytes");
    out.fixed(static_cast<std::uint64_t>(message.rulesVersion), 2);
    out.text(message.text, NetMessage::kMaxText);
    putSides(out, message);
}

void putWelcome(ByteWriter& out, const NetMessage& message) {
    out.fixed(message.seed, 4);
    putSides(out, message);
    out.fixed(static_cast<std::uint64_t>(message.inputDelay), 1);
    out.varint(message.record.size());
    out.bytes(message.record);
}

// The lockstep keeps to the limits; a message past them would be refused by
// the other machine as a whole, so the surplus is cut instead.
void putInputs(ByteWriter& out, const NetMessage& message) {
    out.varint(message.received);
    out.varint(message.firstTick);
    KARVOSSA_ASSERT(message.ticks.size() <= NetMessage::kMaxTicks,
                    "no more ticks than a message holds");
    const std::size_t ticks = std::min(message.ticks.size(), NetMessage::kMaxTicks);
    out.fixed(ticks, 1);
    for (std::size_t i = 0; i < ticks; ++i) {
        const TickCommands& commands = message.ticks[i];
        KARVOSSA_ASSERT(commands.size() <= NetMessage::kMaxCommandsPerTick,
                        "no more commands in a tick than a message holds");
        const std::size_t count = std::min(commands.size(), NetMessage::kMaxCommandsPerTick);
        out.fixed(count, 1);
        for (std::size_t c = 0; c < count; ++c) {
            CommandCodec::write(out, commands[c]);
        }
    }
    out.fixed(message.hasHash ? 1 : 0, 1);
    if (message.hasHash) {
        out.varint(message.hashTick);
        out.fixed(message.hash, 8);
    }
}

}  // namespace

std::vector<std::uint8_t> NetCodec::encode(const NetMessage& message) {
    std::vector<std::uint8_t> bytes;
    ByteWriter out(bytes);
    out.fixed(static_cast<std::uint64_t>(message.kind), 1);
    switch (message.kind) {
        case NetMessageKind::Hello:
            putHello(out, message);
            break;
        case NetMessageKind::Refusal:
            out.text(message.text, NetMessage::kMaxText);
            break;
        case NetMessageKind::Welcome:
            putWelcome(out, message);
            break;
        case NetMessageKind::Inputs:
            putInputs(out, message);
            break;
        case NetMessageKind::Desync:
            out.varint(message.mismatchTick);
            break;
    }
    return bytes;
}

NetCodec::Decoded NetCodec::decode(const std::uint8_t* data, std::size_t size) {
    return NetDecoder(data, size).read();
}
