#pragma once
// A simulated line between two network links, for two machines in one test
// process. Every datagram is delayed by a seeded draw, so that unreliable
// ones may overtake each other; unreliable ones may also be lost or arrive
// twice. Reliable ones arrive once and in order, as ENet makes them. Time is
// the test's own: advance() moves it on, and a link's poll() hands over what
// has arrived by then.
#include <cstdint>
#include <random>
#include <vector>

#include "net/Link.h"

struct LineQuality {
    int minDelayMs = 30;
    int maxDelayMs = 80;
    double loss = 0.1;          // of unreliable datagrams
    double duplication = 0.05;  // of unreliable datagrams that arrive
};

class FakeLine {
public:
    FakeLine(std::uint32_t seed, LineQuality quality);

    class End final : public Link {
    public:
        void send(Channel channel, const std::vector<std::uint8_t>& bytes) override;
        bool poll(LinkEvent& event) override;
        void flush() override {}
        long sent = 0;  // datagrams handed to the line

    private:
        friend class FakeLine;
        FakeLine* line_ = nullptr;
        int side_ = 0;
    };

    End& end(int side) { return ends_[side]; }
    void advance(int milliseconds) { nowMs_ += milliseconds; }

private:
    struct Datagram {
        long arrivesMs;
        long order;  // reliable ones keep it
        std::vector<std::uint8_t> bytes;
    };

    void carry(int from, Channel channel, const std::vector<std::uint8_t>& bytes);

    std::mt19937 random_;
    LineQuality quality_;
    End ends_[2];
    std::vector<Datagram> inFlight_[2];  // towards each side
    long lastReliableMs_[2] = {};
    long nowMs_ = 0;
    long order_ = 0;
};
