#include "net/EnetLink.h"

#include <cstdlib>
#include <mutex>

namespace {

constexpr std::size_t kHostPeers = 2;  // the other player, and room to refuse a third
// ENet checks for a silent peer when it resends, and backs off its resending
// up to this many round trips: a low limit keeps the check close to the 20 s.
constexpr std::uint32_t kTimeoutLimit = 8;

// Once per process, undone at its exit.
bool initialiseEnet() {
    static std::once_flag once;
    static bool ready = false;
    std::call_once(once, [] {
        ready = enet_initialize() == 0;
        if (ready) {
            std::atexit(enet_deinitialize);
        }
    });
    return ready;
}

// ENet drops unreliable packets when the round trip grows, to ease a
// congested line; the game's few hundred bytes a second congest nothing, and
// a machine that stalls for a moment (growing a map) would otherwise go
// unheard for seconds afterwards. So the throttle stays open.
void tunePeer(ENetPeer* peer) {
    enet_peer_timeout(peer, kTimeoutLimit, EnetLink::kSilenceLimitMs, EnetLink::kSilenceLimitMs);
    enet_peer_throttle_configure(peer, ENET_PEER_PACKET_THROTTLE_INTERVAL,
                                 ENET_PEER_PACKET_THROTTLE_SCALE, 0);
}

ENetPacket* packetOf(Channel channel, const std::vector<std::uint8_t>& bytes) {
    const enet_uint32 flags =
        channel == Channel::Reliable ? ENET_PACKET_FLAG_RELIABLE : ENET_PACKET_FLAG_UNSEQUENCED;
    return enet_packet_create(bytes.data(), bytes.size(), flags);
}

}  // namespace

std::unique_ptr<EnetLink> EnetLink::host(std::uint16_t port, std::string& why) {
    if (!initialiseEnet()) {
        why = "the network library would not start";
        return nullptr;
    }
    ENetAddress address{};
    address.host = ENET_HOST_ANY;
    address.port = port;
    ENetHost* host = enet_host_create(&address, kHostPeers, kChannelCount, 0, 0);
    if (host == nullptr) {
        why = "cannot listen on UDP port " + std::to_string(port) + " (is it in use?)";
        return nullptr;
    }
    return std::unique_ptr<EnetLink>(new EnetLink(host));
}

std::unique_ptr<EnetLink> EnetLink::join(const std::string& name, std::uint16_t port,
                                         std::string& why) {
    if (!initialiseEnet()) {
        why = "the network library would not start";
        return nullptr;
    }
    ENetAddress address{};
    if (enet_address_set_host(&address, name.c_str()) != 0) {
        why = "cannot find the address '" + name + "'";
        return nullptr;
    }
    address.port = port;
    ENetHost* host = enet_host_create(nullptr, 1, kChannelCount, 0, 0);
    ENetPeer* peer = host == nullptr
                         ? nullptr
                         : enet_host_connect(host, &address, kChannelCount, kProtocolVersion);
    if (peer == nullptr) {
        if (host != nullptr) {
            enet_host_destroy(host);
        }
        why = "cannot open a UDP socket";
        return nullptr;
    }
    // Until it answers, the host is silent; the same limit holds.
    enet_peer_timeout(peer, kTimeoutLimit, kSilenceLimitMs, kSilenceLimitMs);
    std::unique_ptr<EnetLink> link(new EnetLink(host));
    link->peer_ = peer;
    link->heard_ = std::chrono::steady_clock::now();
    return link;
}

EnetLink::~EnetLink() {
    if (peer_ != nullptr && !gone_) {
        enet_peer_disconnect_now(peer_, 0);
    }
    enet_host_destroy(host_);
}

void EnetLink::send(Channel channel, const std::vector<std::uint8_t>& bytes) {
    if (peer_ == nullptr || gone_) {
        return;
    }
    ENetPacket* packet = packetOf(channel, bytes);
    if (packet != nullptr && enet_peer_send(peer_, static_cast<enet_uint8>(channel), packet) != 0) {
        enet_packet_destroy(packet);
    }
}

bool EnetLink::poll(LinkEvent& event) {
    if (events_.empty()) {
        ENetEvent happened;
        while (enet_host_service(host_, &happened, 0) > 0) {
            handle(happened);
        }
        takeCounts();
        checkSilence();
    }
    if (events_.empty()) {
        return false;
    }
    event = std::move(events_.front());
    events_.pop_front();
    return true;
}

void EnetLink::flush() {
    enet_host_flush(host_);
    takeCounts();
}

void EnetLink::release() {
    if (peer_ != nullptr && !gone_) {
        enet_peer_disconnect_later(peer_, 0);
    }
    peer_ = nullptr;
    gone_ = false;
}

std::uint32_t EnetLink::roundTrip() const {
    return peer_ == nullptr ? 0 : peer_->roundTripTime;
}

// A second machine is told why and let go; the first one is the game's.
void EnetLink::handle(const ENetEvent& event) {
    const bool ours = event.peer == peer_;
    switch (event.type) {
        case ENET_EVENT_TYPE_CONNECT:
            if (peer_ != nullptr && !ours) {
                ENetPacket* packet = packetOf(Channel::Reliable, refusal_);
                if (packet != nullptr && enet_peer_send(event.peer, 0, packet) != 0) {
                    enet_packet_destroy(packet);
                }
                enet_peer_disconnect_later(event.peer, 0);
                return;
            }
            if (peer_ == nullptr && event.data != kProtocolVersion) {
                enet_peer_disconnect_later(event.peer, kProtocolVersion);
                return;
            }
            peer_ = event.peer;
            heard_ = std::chrono::steady_clock::now();
            tunePeer(peer_);
            events_.push_back({LinkEvent::Kind::Joined, {}, 0});
            return;
        case ENET_EVENT_TYPE_RECEIVE:
            if (ours && !gone_) {
                heard_ = std::chrono::steady_clock::now();
                events_.push_back(
                    {LinkEvent::Kind::Message,
                     {event.packet->data, event.packet->data + event.packet->dataLength},
                     0});
            }
            enet_packet_destroy(event.packet);
            return;
        case ENET_EVENT_TYPE_DISCONNECT:
            if (ours && !gone_) {
                gone_ = true;
                events_.push_back({LinkEvent::Kind::Gone, {}, event.data});
            }
            return;
        case ENET_EVENT_TYPE_NONE:
            return;
    }
}

void EnetLink::checkSilence() {
    const auto silence = std::chrono::steady_clock::now() - heard_;
    if (peer_ == nullptr || gone_ || silence < std::chrono::milliseconds(kSilenceLimitMs)) {
        return;
    }
    enet_peer_reset(peer_);
    gone_ = true;
    events_.push_back({LinkEvent::Kind::Gone, {}, 0});
}

void EnetLink::takeCounts() {
    sent_ += host_->totalSentData;
    received_ += host_->totalReceivedData;
    host_->totalSentData = 0;
    host_->totalReceivedData = 0;
}
