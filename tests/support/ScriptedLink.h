#pragma once
// A link whose events the test writes and whose sent messages it reads, for
// the session's state machine: what the other machine does is told to it
// one event at a time, with no line in between.
#include <deque>
#include <vector>

#include "net/Link.h"
#include "net/NetCodec.h"

class ScriptedLink final : public Link {
public:
    void send(Channel channel, const std::vector<std::uint8_t>& bytes) override {
        sent.push_back({channel, NetCodec::decode(bytes.data(), bytes.size()).message});
    }
    bool poll(LinkEvent& event) override {
        if (coming.empty()) {
            return false;
        }
        event = std::move(coming.front());
        coming.pop_front();
        return true;
    }
    void flush() override {}
    void release() override { ++released; }
    std::uint32_t roundTrip() const override { return roundTripMs; }

    void joined() { coming.push_back({LinkEvent::Kind::Joined, {}, 0}); }
    void gone(std::uint32_t otherProtocol = 0) {
        coming.push_back({LinkEvent::Kind::Gone, {}, otherProtocol});
    }
    void message(const NetMessage& message) { bytes(NetCodec::encode(message)); }
    void bytes(std::vector<std::uint8_t> raw) {
        coming.push_back({LinkEvent::Kind::Message, std::move(raw), 0});
    }

    struct Sent {
        Channel channel;
        NetMessage message;
    };
    std::deque<LinkEvent> coming;
    std::vector<Sent> sent;
    int released = 0;
    std::uint32_t roundTripMs = 0;
};
