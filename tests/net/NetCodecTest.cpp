#include "net/NetCodec.h"

#include <gtest/gtest.h>

#include <vector>

#include "battle/Unit.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Each is one fault in otherwise good bytes, and is answered in words.
TEST(NetCodec, RefusesEveryMalformedMessage) {
    const Bytes inputs = {4, 10, 6, 1, 0, 0};  // received 10, first tick 6, one empty tick, no hash
    ASSERT_TRUE(NetCodec::decode(inputs.data(), inputs.size()).ok);
    const std::vector<std::pair<const char*, Bytes>> cases = {
        {"nothing", {}},
        {"an unknown kind", {9}},
        {"a hello cut short", {1, 1, 0, 5, '1', '.'}},
        {"a text longer than 64",
         [] {
             Bytes b = {3, 65};
             b.resize(67, 'a');
             return b;
         }()},
        {"sides beyond the two", {1, 1, 0, 0, 4}},
        {"a delay under 3", {2, 1, 2, 3, 4, 0, 2, 0}},
        {"a delay over 15", {2, 1, 2, 3, 4, 0, 16, 0}},
        {"a record longer than its bytes", {2, 1, 2, 3, 4, 0, 6, 5, 1}},
        {"33 ticks", {4, 10, 6, 33}},
        {"17 commands in a tick", {4, 10, 6, 1, 17}},
        {"an unknown command", {4, 10, 6, 1, 1, 6, 0}},
        {"an unknown unit kind", {4, 10, 6, 1, 1, 5 | 4 << 5, 0}},
        {"a cursor moving a third way", {4, 10, 6, 1, 1, 4 | 2 << 5, 0}},
        {"a click with a detail", {4, 10, 6, 1, 1, 1 | 1 << 5, 0, 0, 0}},
        {"a cell beyond 32 bits", {4, 10, 6, 1, 1, 1, 0x80, 0x80, 0x80, 0x80, 0x20, 0, 0}},
        {"a hash flag of 2", {4, 10, 6, 1, 0, 2}},
        {"a hash cut short", {4, 10, 6, 1, 0, 1, 29, 1, 2, 3}},
        {"a number in eleven bytes",
         {5, 0x81, 0x81, 0x81, 0x81, 0x81, 0x81, 0x81, 0x81, 0x81, 0x81, 1}},
        {"a number written long", {5, 0x81, 0x00}},
        {"bytes after the end", {4, 10, 6, 1, 0, 0, 0}},
    };
    for (const auto& [what, bytes] : cases) {
        const NetCodec::Decoded decoded = NetCodec::decode(bytes.data(), bytes.size());
        EXPECT_FALSE(decoded.ok) << what;
        EXPECT_FALSE(decoded.error.empty()) << what;
    }
}

// What the lockstep and the host rely on coming through as it was sent.
TEST(NetCodec, CarriesEveryCommandAndTheRulesVersion) {
    NetMessage hello;
    hello.rulesVersion = kRulesVersion + 1;
    const Bytes helloBytes = NetCodec::encode(hello);
    EXPECT_EQ(NetCodec::decode(helloBytes.data(), helloBytes.size()).message.rulesVersion,
              kRulesVersion + 1);

    NetMessage inputs;
    inputs.kind = NetMessageKind::Inputs;
    inputs.ticks.resize(1);
    for (int kind = 0; kind < kCommandKinds; ++kind) {
        Command command;
        command.kind = static_cast<CommandKind>(kind);
        command.side = 1;
        command.cellZ = command.kind == CommandKind::ClickCell ? -70000 : 0;
        command.cellX = command.kind == CommandKind::ClickCell ? INT32_MAX : 0;
        command.move =
            command.kind == CommandKind::MoveCursor ? CursorMove::Right : CursorMove::Left;
        command.unitKind = command.kind == CommandKind::SendUnit ? kUnitKinds - 1 : 0;
        inputs.ticks[0].push_back(command);
    }
    const Bytes bytes = NetCodec::encode(inputs);
    const NetCodec::Decoded decoded = NetCodec::decode(bytes.data(), bytes.size());
    ASSERT_TRUE(decoded.ok) << decoded.error;
    EXPECT_EQ(decoded.message.ticks, inputs.ticks);
}

}  // namespace
