#include "net/NetCodec.h"

#include <gtest/gtest.h>

#include <climits>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Command command(CommandKind kind) {
    Command c;
    c.kind = kind;
    return c;
}

auto fields(const NetMessage& m) {
    return std::tie(m.kind, m.text, m.computer[0], m.computer[1], m.seed, m.inputDelay, m.record,
                    m.received, m.firstTick, m.ticks, m.hasHash, m.hashTick, m.hash,
                    m.mismatchTick);
}

// Every field a message can carry comes back from its bytes as it went in.
TEST(NetCodec, EveryKindOfMessageComesBackAsWritten) {
    NetMessage hello;
    hello.text = "1.0.0";
    hello.computer[1] = true;
    NetMessage welcome;
    welcome.kind = NetMessageKind::Welcome;
    welcome.seed = 0xfedcba98u;
    welcome.computer[0] = true;
    welcome.inputDelay = NetMessage::kMaxInputDelay;
    welcome.record = {0, 0xff, 7};
    NetMessage refusal;
    refusal.kind = NetMessageKind::Refusal;
    refusal.text = std::string(NetMessage::kMaxText, 'r');
    NetMessage inputs;
    inputs.kind = NetMessageKind::Inputs;
    inputs.received = 300;
    inputs.firstTick = 1ull << 40;
    Command click = command(CommandKind::ClickCell);
    click.cellZ = -3;
    click.cellX = INT_MIN;
    Command right = command(CommandKind::MoveCursor);
    right.move = CursorMove::Right;
    Command unit = command(CommandKind::SendUnit);
    unit.unitKind = 3;
    inputs.ticks = {{click, right, command(CommandKind::MoveCursor)},
                    {},
                    {unit, command(CommandKind::LeaveTitle), command(CommandKind::BuyShip),
                     command(CommandKind::EndTurn)}};
    inputs.hasHash = true;
    inputs.hashTick = (1ull << 40) + 2;
    inputs.hash = 0x8123456789abcdefull;
    NetMessage desync;
    desync.kind = NetMessageKind::Desync;
    desync.mismatchTick = UINT64_MAX;

    for (const NetMessage& sent : {hello, welcome, refusal, inputs, desync}) {
        const Bytes bytes = NetCodec::encode(sent);
        const NetCodec::Decoded decoded = NetCodec::decode(bytes.data(), bytes.size());
        const int kind = static_cast<int>(sent.kind);
        ASSERT_TRUE(decoded.ok) << kind << ": " << decoded.error;
        EXPECT_TRUE(fields(decoded.message) == fields(sent)) << kind;
    }
}

// Each is one fault in otherwise good bytes, and is answered in words.
TEST(NetCodec, RefusesEveryMalformedMessage) {
    const Bytes inputs = {4, 10, 6, 1, 0, 0};  // received 10, first tick 6, one empty tick, no hash
    ASSERT_TRUE(NetCodec::decode(inputs.data(), inputs.size()).ok);
    const Bytes welcome = {2, 1, 2, 3, 4, 0, 6, 1, 9};  // a record of one byte
    ASSERT_TRUE(NetCodec::decode(welcome.data(), welcome.size()).ok);
    Bytes longText = {3, 65};
    longText.resize(67, 'a');
    const std::vector<std::pair<const char*, Bytes>> cases = {
        {"nothing", {}},
        {"an unknown kind", {9}},
        {"a hello cut short in its text", {1, 5, '1', '.'}},
        {"a hello without sides", {1, 0}},
        {"a welcome cut short in its seed", {2, 1, 2}},
        {"a refusal cut short", {3, 4, 'n', 'o'}},
        {"inputs cut short before a tick", {4, 10, 6, 2, 0}},
        {"inputs cut short in a cell", {4, 10, 6, 1, 1, 1, 2}},
        {"a hash cut short", {4, 10, 6, 1, 0, 1, 29, 1, 2, 3}},
        {"a desync without its tick", {5}},
        {"a desync cut short in its tick", {5, 0x80}},
        {"a text longer than 64", longText},
        {"sides beyond the two", {1, 0, 4}},
        {"a delay of 2", {2, 1, 2, 3, 4, 0, 2, 0}},
        {"a delay of 16", {2, 1, 2, 3, 4, 0, 16, 0}},
        {"a record longer than its bytes", {2, 1, 2, 3, 4, 0, 6, 5, 1}},
        {"33 ticks", {4, 10, 6, 33}},
        {"17 commands in a tick", {4, 10, 6, 1, 17}},
        {"ticks past the last",
         {4, 0, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 1, 1, 0, 0}},
        {"an unknown command", {4, 10, 6, 1, 1, 6, 0}},
        {"an end of turn with a detail", {4, 10, 6, 1, 1, 3 | 1 << 4, 0}},
        {"a click with a detail", {4, 10, 6, 1, 1, 1 | 1 << 4, 0, 0, 0}},
        {"an unknown unit kind", {4, 10, 6, 1, 1, 5 | 4 << 4, 0}},
        {"a cursor moving a third way", {4, 10, 6, 1, 1, 4 | 2 << 4, 0}},
        {"a cell one past int32", {4, 10, 6, 1, 1, 1, 0x80, 0x80, 0x80, 0x80, 0x10, 0, 0}},
        {"a negative cell one past int32", {4, 10, 6, 1, 1, 1, 0, 0x81, 0x80, 0x80, 0x80, 0x10, 0}},
        {"a hash flag of 2", {4, 10, 6, 1, 0, 2}},
        {"a number in eleven bytes",
         {5, 0x81, 0x81, 0x81, 0x81, 0x81, 0x81, 0x81, 0x81, 0x81, 0x81, 1}},
        {"a number past 64 bits", {5, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 2}},
        {"a number written long", {5, 0x81, 0x00}},
        {"bytes after the end", {4, 10, 6, 1, 0, 0, 0}},
    };
    for (const auto& [what, bytes] : cases) {
        const NetCodec::Decoded decoded = NetCodec::decode(bytes.data(), bytes.size());
        EXPECT_FALSE(decoded.ok) << what;
        EXPECT_FALSE(decoded.error.empty()) << what;
    }
}

}  // namespace
