#pragma once
// What the two machines of a network game say to each other, as plain
// values. NetCodec turns one into bytes and bytes back into one; nothing
// else reads a message's bytes, and everything it hands out is in range.
//
// The joiner opens with Hello; the host answers with Welcome or Refusal.
// Then both send Inputs many times a second, and Desync once their states
// are found to differ.
#include <cstdint>
#include <string>
#include <vector>

#include "game/Command.h"
#include "game/Model.h"
#include "game/RulesVersion.h"

enum class NetMessageKind : std::uint8_t { Hello = 1, Welcome, Refusal, Inputs, Desync };

// The commands one machine gives for one tick, for its own side only: the
// tick is not sent, it follows from where the commands stand.
using TickCommands = std::vector<Command>;

struct NetMessage {
    static constexpr std::size_t kMaxText = 64;  // Hello's version, Refusal's reason
    static constexpr std::size_t kMaxRecord = 16 * 1024 * 1024;  // Welcome's record, bytes
    static constexpr std::size_t kMaxTicks = 32;                 // Inputs' ticks
    static constexpr std::size_t kMaxCommandsPerTick = 16;       // more than hands can give
    static constexpr int kMinInputDelay = 3;                     // ticks
    static constexpr int kMaxInputDelay = 15;
    static constexpr int kMaxRulesVersion = 0xffff;  // two bytes

    NetMessageKind kind = NetMessageKind::Hello;
    int rulesVersion = kRulesVersion;  // Hello: the sender's; 0..kMaxRulesVersion
    std::string text;                  // Hello: the game's version; Refusal: why, in a few words

    bool computer[kPlayerCount] = {};  // Hello, Welcome: the sides the program plays

    // Welcome: the game the joiner joins
    std::uint32_t seed = 0;
    int inputDelay = 6;                // kMinInputDelay..kMaxInputDelay
    std::vector<std::uint8_t> record;  // a resumed game's record, as its file holds it; or none

    // Inputs
    std::uint64_t received = 0;       // the sender holds all the receiver's ticks below this
    std::uint64_t firstTick = 0;      // the tick of ticks[0]
    std::vector<TickCommands> ticks;  // the sender's commands, tick after tick
    bool hasHash = false;             // a state hash comes with it
    std::uint64_t hashTick = 0;       // the tick after which the sender's state had...
    std::uint64_t hash = 0;           // ...this Model::stateHash()

    // Desync: the tick whose hashes differed
    std::uint64_t mismatchTick = 0;
};
