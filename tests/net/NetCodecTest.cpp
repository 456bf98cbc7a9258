#include "net/NetCodec.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// Each is one fault in otherwise good bytes, and is answered in words.
TEST(NetCodec, RefusesEveryMalformedMessage) {
    const Bytes inputs = {4, 10, 6, 1, 0, 0};  // received 10, first tick 6, one empty tick, no hash
    ASSERT_TRUE(NetCodec::decode(inputs.data(), inputs.size()).ok);
    const std::vector<std::pair<const char*, Bytes>> cases = {
        {"nothing", {}},
        {"an unknown kind", {9}},
        {"a hello cut short", {1, 5, '1', '.'}},
        {"a text longer than 64",
         [] {
             Bytes b = {3, 65};
             b.resize(67, 'a');
             return b;
         }()},
        {"sides beyond the two", {1, 0, 4}},
        {"a delay under 3", {2, 1, 2, 3, 4, 0, 2, 0}},
        {"a delay over 15", {2, 1, 2, 3, 4, 0, 16, 0}},
        {"a record longer than its bytes", {2, 1, 2, 3, 4, 0, 6, 5, 1}},
        {"33 ticks", {4, 10, 6, 33}},
        {"17 commands in a tick", {4, 10, 6, 1, 17}},
        {"an unknown command", {4, 10, 6, 1, 1, 6, 0}},
        {"an unknown unit kind", {4, 10, 6, 1, 1, 5 | 4 << 4, 0}},
        {"a cursor moving a third way", {4, 10, 6, 1, 1, 4 | 2 << 4, 0}},
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

}  // namespace
