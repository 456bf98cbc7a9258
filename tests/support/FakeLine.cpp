#include "support/FakeLine.h"

#include <algorithm>

FakeLine::FakeLine(std::uint32_t seed, LineQuality quality) : random_(seed), quality_(quality) {
    for (int side = 0; side < 2; ++side) {
        ends_[side].line_ = this;
        ends_[side].side_ = side;
    }
}

void FakeLine::End::send(Channel channel, const std::vector<std::uint8_t>& bytes) {
    ++sent;
    line_->carry(side_, channel, bytes);
}

void FakeLine::carry(int from, Channel channel, const std::vector<std::uint8_t>& bytes) {
    std::uniform_int_distribution<int> delay(quality_.minDelayMs, quality_.maxDelayMs);
    std::uniform_real_distribution<double> chance(0, 1);
    const int to = 1 - from;
    if (channel == Channel::Reliable) {
        // Retransmissions hide the losses; only the order is ENet's promise.
        lastReliableMs_[to] = std::max(lastReliableMs_[to], nowMs_ + delay(random_));
        inFlight_[to].push_back({lastReliableMs_[to], order_++, bytes});
        return;
    }
    if (chance(random_) < quality_.loss) {
        return;
    }
    const int copies = chance(random_) < quality_.duplication ? 2 : 1;
    for (int i = 0; i < copies; ++i) {
        inFlight_[to].push_back({nowMs_ + delay(random_), order_++, bytes});
    }
}

bool FakeLine::End::poll(LinkEvent& event) {
    std::vector<Datagram>& arriving = line_->inFlight_[side_];
    const auto first = std::min_element(
        arriving.begin(), arriving.end(), [](const Datagram& a, const Datagram& b) {
            return a.arrivesMs != b.arrivesMs ? a.arrivesMs < b.arrivesMs : a.order < b.order;
        });
    if (first == arriving.end() || first->arrivesMs > line_->nowMs_) {
        return false;
    }
    event.kind = LinkEvent::Kind::Message;
    event.bytes = std::move(first->bytes);
    arriving.erase(first);
    return true;
}
