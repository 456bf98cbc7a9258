#pragma once
// One connection to the other machine of a network game, as the lockstep and
// the handshake see it: messages out on a reliable or an unreliable channel,
// and what came in, polled from the game's one loop. EnetLink is the real
// one; the tests put a simulated link with delay and loss in its place.
#include <cstdint>
#include <vector>

// The UDP port a host listens on unless told otherwise.
constexpr std::uint16_t kDefaultPort = 29500;

enum class Channel : std::uint8_t { Reliable = 0, Unreliable = 1 };
constexpr int kChannelCount = 2;

struct LinkEvent {
    enum class Kind { Joined, Message, Gone };
    Kind kind = Kind::Message;
    std::vector<std::uint8_t> bytes;  // Message: as sent, not yet decoded
    std::uint32_t otherProtocol = 0;  // Gone: the host's protocol, when it refused ours
};

class Link {
public:
    virtual ~Link() = default;
    // Queued for sending; nothing goes out before flush().
    virtual void send(Channel channel, const std::vector<std::uint8_t>& bytes) = 0;
    // Takes the next thing that happened; false when nothing is waiting.
    virtual bool poll(LinkEvent& event) = 0;
    virtual void flush() = 0;
    // Lets the other machine go, so that a host can take another one.
    virtual void release() {}
    // The other machine's round trip, milliseconds; 0 before one is there.
    virtual std::uint32_t roundTrip() const { return 0; }
};
