#pragma once
// The bytes of a network message, and the one decoder that reads them back.
// A message is its kind (1 byte) and then its body, little-endian:
//   Hello:   rules version (2), text (1-byte length, then text), sides the
//            program plays (1, bit per side)
//   Welcome: seed (4), sides the program plays (1), input
//            delay (1), record (varint length, then the record's bytes)
//   Refusal: text
//   Inputs:  received (varint), first tick (varint), tick count (1), per
//            tick: command count (1) and commands (CommandCodec's, the side
//            included), then hash flag (1) and, when set, hash tick (varint)
//            and hash (8)
//   Desync:  mismatch tick (varint)
// Anything short, long, out of range or left over makes the whole message
// malformed.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "net/NetMessage.h"

class NetCodec {
public:
    static std::vector<std::uint8_t> encode(const NetMessage& message);

    struct Decoded {
        bool ok = false;
        std::string error;  // what is wrong, in a few words
        NetMessage message;
    };
    static Decoded decode(const std::uint8_t* data, std::size_t size);
};
