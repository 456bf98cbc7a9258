#pragma once
// The network link over ENet: one UDP socket, one peer, two channels (one
// reliable and ordered, one unreliable). The host listens and takes the first
// machine that joins; any later one is refused with a message the host gives.
// ENet is polled, never waited on, and has no thread of its own.
#include <enet/enet.h>

#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "net/Link.h"

class EnetLink final : public Link {
public:
    // Raised with every change to the messages; sent in ENet's connect data.
    static constexpr std::uint32_t kProtocolVersion = 2;
    // A peer silent this long is gone. ENet is told so, but it looks only
    // when it resends, at ever longer gaps; the link also looks on every poll,
    // so that the silence is noticed when it reaches the limit.
    static constexpr std::uint32_t kSilenceLimitMs = 20000;

    // Listening on every address at `port`; null, with the reason, if the
    // port cannot be had.
    static std::unique_ptr<EnetLink> host(std::uint16_t port, std::string& why);
    // Connecting to address (a name or IPv4 address) at port; null, with the
    // reason, when the address does not resolve.
    static std::unique_ptr<EnetLink> join(const std::string& address, std::uint16_t port,
                                          std::string& why);
    ~EnetLink() override;
    EnetLink(const EnetLink&) = delete;
    EnetLink& operator=(const EnetLink&) = delete;

    void send(Channel channel, const std::vector<std::uint8_t>& bytes) override;
    bool poll(LinkEvent& event) override;
    void flush() override;

    void release() override;
    // What a machine joining a game already full is sent before it is let go.
    void refuseOthersWith(std::vector<std::uint8_t> bytes) { refusal_ = std::move(bytes); }
    // The peer's round trip as ENet measures it.
    std::uint32_t roundTrip() const override;
    // Bytes handed to and taken from the socket so far, ENet's headers included.
    std::uint64_t bytesSent() const { return sent_; }
    std::uint64_t bytesReceived() const { return received_; }

private:
    explicit EnetLink(ENetHost* host) : host_(host) {}
    void handle(const ENetEvent& event);
    void checkSilence();
    void takeCounts();

    ENetHost* host_;
    ENetPeer* peer_ = nullptr;  // the other machine, once connected
    bool gone_ = false;
    std::chrono::steady_clock::time_point heard_;  // when the peer last said anything
    std::vector<std::uint8_t> refusal_;
    std::deque<LinkEvent> events_;
    std::uint64_t sent_ = 0;
    std::uint64_t received_ = 0;
};
