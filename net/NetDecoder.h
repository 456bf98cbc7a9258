#pragma once
// Reads one network message front to back, for NetCodec::decode, its one
// caller. Unlike a record, a message has no check to wait for: the first
// thing wrong, out of form or out of range, ends the reading and makes the
// whole message malformed.
#include <cstddef>
#include <cstdint>

#include "codec/ByteReader.h"
#include "net/NetCodec.h"

class NetDecoder {
public:
    NetDecoder(const std::uint8_t* data, std::size_t size) : in_(data, size) {}

    NetCodec::Decoded read();

private:
    void readMessage(NetMessage& message);
    bool readHello(NetMessage& message);
    bool readSides(NetMessage& message);
    bool readWelcome(NetMessage& message);
    bool readInputs(NetMessage& message);
    bool readTick(TickCommands& commands);

    ByteReader in_;
};
