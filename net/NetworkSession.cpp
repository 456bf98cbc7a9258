#include "net/NetworkSession.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "game/Invariant.h"
#include "game/Model.h"
#include "game/RulesVersion.h"
#include "game/Tick.h"
#include "net/Lockstep.h"
#include "net/NetCodec.h"

namespace {

constexpr double kMsPerTick = 1000.0 / kTicksPerSecond;
// Past half the round trip, a frame to send at one end and to take at the
// other, and a tick for a lost packet's next copy.
constexpr int kDelayMargin = 3;

int delayFor(std::uint32_t roundTripMs) {
    const int ticks = static_cast<int>(std::ceil(roundTripMs / 2.0 / kMsPerTick)) + kDelayMargin;
    return std::clamp(ticks, NetMessage::kMinInputDelay, NetMessage::kMaxInputDelay);
}

std::vector<std::uint8_t> refusal(const std::string& why) {
    NetMessage message;
    message.kind = NetMessageKind::Refusal;
    message.text = why;
    return NetCodec::encode(message);
}

}  // namespace

NetworkSession::NetworkSession(Link& link, bool host)
    : link_(link), host_(host), state_(host ? State::Waiting : State::Connecting) {
    waitingShown_ = host;
}

NetworkSession::~NetworkSession() = default;

std::unique_ptr<NetworkSession> NetworkSession::host(Link& link, Offer offer) {
    std::unique_ptr<NetworkSession> session(new NetworkSession(link, true));
    session->offer_ = std::move(offer);
    return session;
}

std::unique_ptr<NetworkSession> NetworkSession::join(Link& link, std::string where, bool computer) {
    std::unique_ptr<NetworkSession> session(new NetworkSession(link, false));
    session->where_ = std::move(where);
    session->computer_ = computer;
    return session;
}

void NetworkSession::step(Clock::time_point now) {
    if (state_ == State::Playing) {
        stepPlaying(now);
        return;
    }
    LinkEvent event;
    while ((state_ == State::Waiting || state_ == State::Connecting || state_ == State::Greeting) &&
           link_.poll(event)) {
        if (host_) {
            stepHost(event);
        } else {
            stepJoiner(event);
        }
    }
}

// The host on its title: a machine joins, says hello, and is welcomed or
// turned away; one that leaves before its Hello is simply waited past.
void NetworkSession::stepHost(const LinkEvent& event) {
    if (event.kind == LinkEvent::Kind::Joined) {
        state_ = State::Greeting;
        return;
    }
    if (event.kind == LinkEvent::Kind::Gone) {
        link_.release();
        state_ = State::Waiting;
        return;
    }
    const NetCodec::Decoded decoded = NetCodec::decode(event.bytes.data(), event.bytes.size());
    if (!decoded.ok) {
        turnAway("a machine that joined sent " + decoded.error);
    } else if (decoded.message.kind != NetMessageKind::Hello) {
        turnAway("a machine that joined sent a message out of turn");
    } else {
        welcome(decoded.message);
    }
}

void NetworkSession::turnAway(const std::string& why) {
    notices_.push_back(why + "; waiting for another");
    link_.release();
    state_ = State::Waiting;
}

// The host's answer to a Hello: the game, or why not.
void NetworkSession::welcome(const NetMessage& hello) {
    if (hello.rulesVersion != kRulesVersion) {
        const std::string ours = std::to_string(kRulesVersion);
        const std::string theirs = std::to_string(hello.rulesVersion);
        link_.send(Channel::Reliable,
                   refusal("the host plays rules version " + ours + ", not " + theirs));
        link_.flush();
        turnAway("a machine of rules version " + theirs + " was refused, this one plays " + ours);
        return;
    }
    if (hello.text != KARVOSSA_VERSION) {
        link_.send(Channel::Reliable,
                   refusal("the host plays version " + std::string(KARVOSSA_VERSION) + ", not " +
                           hello.text));
        link_.flush();
        turnAway("a machine of version " + hello.text + " was refused");
        return;
    }
    agreed_ = NetMessage();
    agreed_.kind = NetMessageKind::Welcome;
    agreed_.seed = offer_.seed;
    agreed_.computer[0] = offer_.hostComputer;
    agreed_.computer[1] = hello.computer[1];
    agreed_.inputDelay = delayFor(link_.roundTrip());
    agreed_.record = offer_.record;
    link_.send(Channel::Reliable, NetCodec::encode(agreed_));
    link_.flush();
    state_ = State::Ready;
}

void NetworkSession::stepJoiner(const LinkEvent& event) {
    switch (event.kind) {
        case LinkEvent::Kind::Joined: {
            NetMessage hello;
            hello.kind = NetMessageKind::Hello;
            hello.text = KARVOSSA_VERSION;
            hello.computer[1] = computer_;
            link_.send(Channel::Reliable, NetCodec::encode(hello));
            link_.flush();
            state_ = State::Greeting;
            return;
        }
        case LinkEvent::Kind::Message:
            takeAnswer(event);
            return;
        case LinkEvent::Kind::Gone:
            stop(State::Ended,
                 event.otherProtocol != 0
                     ? "the host plays another version of the network game (protocol " +
                           std::to_string(event.otherProtocol) + ")"
                 : state_ == State::Greeting ? "the host at " + where_ + " closed the connection"
                                             : "nobody answered at " + where_);
            return;
    }
}

// The host's first commands may overtake a Welcome that was lost and sent
// again; they are sent again too, so they can go.
void NetworkSession::takeAnswer(const LinkEvent& event) {
    const NetCodec::Decoded decoded = NetCodec::decode(event.bytes.data(), event.bytes.size());
    if (!decoded.ok) {
        stop(State::Ended, "the host sent a malformed message (" + decoded.error + ")");
    } else if (decoded.message.kind == NetMessageKind::Refusal) {
        stop(State::Ended, "the host refused to play: " + decoded.message.text);
    } else if (decoded.message.kind == NetMessageKind::Welcome) {
        agreed_ = decoded.message;
        state_ = State::Ready;
    } else if (decoded.message.kind != NetMessageKind::Inputs) {
        stop(State::Ended, "the host sent a message out of turn");
    }
}

void NetworkSession::begin(std::uint64_t startTick) {
    KARVOSSA_ASSERT(state_ == State::Ready, "a network game begins once it is agreed");
    if (state_ != State::Ready) {
        return;
    }
    lockstep_ = std::make_unique<Lockstep>(link_, localSide(), agreed_.inputDelay, startTick);
    lockstep_->attach(agreed_.computer[localSide()]);
    state_ = State::Playing;
    waitingShown_ = false;
    heldUp_ = false;
}

void NetworkSession::stepPlaying(Clock::time_point now) {
    lockstep_->exchange();
    switch (lockstep_->state()) {
        case Lockstep::State::Playing:
            break;
        case Lockstep::State::Gone:
            stop(State::Dropped, lockstep_->problem());
            return;
        case Lockstep::State::Desynced:
        case Lockstep::State::Faulted:
            stop(State::Ended, lockstep_->problem());
            return;
    }
    if (tickReady()) {
        heldUp_ = false;
    } else if (!heldUp_) {
        heldUp_ = true;
        heldUpSince_ = now;
    }
    waitingShown_ = heldUp_ && now - heldUpSince_ >= kWaitShownAfter;
}

void NetworkSession::send() {
    if (state_ == State::Playing) {
        lockstep_->send();
    }
}

void NetworkSession::end(const std::string& problem) {
    stop(State::Ended, problem);
}

void NetworkSession::stop(State state, const std::string& problem) {
    state_ = state;
    problem_ = problem;
    waitingShown_ = false;
}

std::vector<std::string> NetworkSession::takeNotices() {
    return std::exchange(notices_, {});
}
