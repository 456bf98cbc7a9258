#include "net/Lockstep.h"

#include <algorithm>

#include "ai/ComputerPlayer.h"
#include "game/CommandQueue.h"
#include "game/Invariant.h"
#include "game/Model.h"
#include "game/TickReport.h"
#include "net/NetCodec.h"

namespace {

constexpr std::size_t kHashesKept = 64;  // own hashes kept for the other's to meet

bool isCheckpoint(std::uint64_t tick) {
    return (tick + 1) % Lockstep::kHashPeriod == 0;
}

}  // namespace

Lockstep::Lockstep(Link& link, int localSide, int inputDelay, std::uint64_t startTick)
    : link_(link),
      localSide_(localSide),
      delay_(inputDelay),
      closed_(startTick + inputDelay),
      unackedFrom_(closed_),
      ownToRun_(static_cast<std::size_t>(inputDelay)),
      peerFrom_(closed_),
      known_(closed_),
      next_(startTick) {}

void Lockstep::attach(bool computerPlays) {
    Model* model = Model::getSelf();
    if (computerPlays) {
        model->addComputer(localSide_);
        ComputerPlayer* player = model->computers[localSide_];
        std::vector<CommandSource*>& sources = model->sources;
        sources.erase(std::remove(sources.begin(), sources.end(), player), sources.end());
        player->lag = delay_;
        addLocalSource(player);
    }
    model->remote[1 - localSide_] = true;
    model->inputSink = this;
    model->sources.push_back(this);
    model->observers.push_back(this);
}

void Lockstep::submit(const Command& command) {
    KARVOSSA_ASSERT(command.side == localSide_, "a machine gives commands for its own side only");
    if (command.side != localSide_ || open_.size() >= NetMessage::kMaxCommandsPerTick) {
        return;
    }
    Command stamped = command;
    stamped.tick = closed_;
    open_.push_back(stamped);
}

bool Lockstep::ready(std::uint64_t tick) const {
    return state_ == State::Playing && tick == next_ && tick < known_;
}

// The tick's commands, side 0's first: both machines apply them in one order.
void Lockstep::give(std::uint64_t tick, CommandQueue& queue) {
    if (!ready(tick)) {
        if (state_ == State::Playing) {
            stop(State::Faulted, "a tick ran before the other machine's commands for it came");
        }
        return;
    }
    CommandQueue own;
    for (CommandSource* source : localSources_) {
        source->give(tick, own);
    }
    for (const Command& command : own.takePending()) {
        submit(command);
    }
    closeOwnTick();
    static const TickCommands kNone;
    const TickCommands& peer = tick >= peerFrom_ ? peer_[tick - peerFrom_] : kNone;
    const TickCommands& first = localSide_ == 0 ? ownToRun_.front() : peer;
    const TickCommands& second = localSide_ == 0 ? peer : ownToRun_.front();
    for (const TickCommands* commands : {&first, &second}) {
        for (const Command& command : *commands) {
            queue.push(command);
        }
    }
    ownToRun_.pop_front();
    ++next_;
    // The other's ticks are kept a while after they ran, to check resent copies.
    while (peerFrom_ + NetMessage::kMaxTicks < next_ && !peer_.empty()) {
        peer_.pop_front();
        ++peerFrom_;
    }
}

void Lockstep::closeOwnTick() {
    unacked_.push_back(open_);
    ownToRun_.push_back(std::move(open_));
    open_.clear();
    ++closed_;
}

void Lockstep::afterTick(const TickReport& report) {
    const std::uint64_t ran = report.tick();
    if (state_ != State::Playing) {
        return;
    }
    // A tick runs only once this lockstep has given its commands.
    KARVOSSA_ASSERT(ran + 1 == next_, "the Model ran a tick the lockstep did not give");
    if (ran + 1 != next_ || !isCheckpoint(ran)) {
        return;
    }
    ownHashes_.emplace_back(ran, Model::getSelf()->stateHash());
    if (ownHashes_.size() > kHashesKept) {
        ownHashes_.pop_front();
    }
    compareHashes();
}

void Lockstep::exchange() {
    LinkEvent event;
    while (state_ == State::Playing && link_.poll(event)) {
        if (event.kind == LinkEvent::Kind::Gone) {
            stop(State::Gone, "the other player is gone");
        } else if (event.kind == LinkEvent::Kind::Message) {
            const NetCodec::Decoded decoded =
                NetCodec::decode(event.bytes.data(), event.bytes.size());
            if (!decoded.ok) {
                stop(State::Faulted,
                     "the other machine sent a malformed message (" + decoded.error + ")");
            } else {
                take(decoded.message);
            }
        }
    }
}

void Lockstep::send() {
    if (state_ != State::Playing) {
        return;
    }
    NetMessage message;
    message.kind = NetMessageKind::Inputs;
    message.received = known_;
    message.firstTick = unackedFrom_;
    const std::size_t count = std::min(unacked_.size(), NetMessage::kMaxTicks);
    message.ticks.assign(unacked_.begin(), unacked_.begin() + static_cast<std::ptrdiff_t>(count));
    if (!ownHashes_.empty()) {
        message.hasHash = true;
        message.hashTick = ownHashes_.back().first;
        message.hash = ownHashes_.back().second;
    }
    link_.send(Channel::Unreliable, NetCodec::encode(message));
    link_.flush();
}

void Lockstep::take(const NetMessage& message) {
    switch (message.kind) {
        case NetMessageKind::Inputs:
            takeTicks(message);
            return;
        case NetMessageKind::Desync:
            state_ = State::Desynced;
            problem_ = "the other machine found that the two games differ";
            mismatchTick_ = std::min(message.mismatchTick, next_);
            return;
        default:
            stop(State::Faulted, "the other machine sent a message out of turn");
            return;
    }
}

// What an honest machine can send is bounded: it acknowledges only what we
// sent, resends from what we acknowledged, and runs no further ahead of our
// commands than they reach.
void Lockstep::takeTicks(const NetMessage& message) {
    const std::uint64_t end = message.firstTick + message.ticks.size();
    if (message.received > closed_ || message.firstTick > known_ || end > closed_ + delay_) {
        stop(State::Faulted, "the other machine's commands are out of step");
        return;
    }
    for (; unackedFrom_ < message.received; ++unackedFrom_) {
        unacked_.pop_front();
    }
    for (std::size_t i = 0; i < message.ticks.size() && state_ == State::Playing; ++i) {
        takeTick(message.firstTick + i, message.ticks[i]);
    }
    if (message.hasHash && state_ == State::Playing) {
        takeHash(message.hashTick, message.hash);
    }
}

// A tick's commands arrive once or again; again, they must be the same.
bool Lockstep::takeTick(std::uint64_t tick, TickCommands commands) {
    for (Command& command : commands) {
        command.side = 1 - localSide_;
        command.tick = tick;
    }
    if (tick == known_) {
        peer_.push_back(std::move(commands));
        ++known_;
        return true;
    }
    if (tick >= peerFrom_ && peer_[tick - peerFrom_] != commands) {
        desync(tick, "the other machine changed its commands for a tick already given");
        return false;
    }
    return true;
}

void Lockstep::takeHash(std::uint64_t tick, std::uint64_t hash) {
    if (!isCheckpoint(tick) || tick > closed_ + delay_) {
        stop(State::Faulted, "the other machine's state hash is out of step");
        return;
    }
    if (peerHashes_.empty() || peerHashes_.back().first < tick) {
        peerHashes_.emplace_back(tick, hash);
    }
    compareHashes();
}

// Each of the other's hashes is compared once this machine has run its tick;
// one for a tick whose own hash is no longer kept is let go.
void Lockstep::compareHashes() {
    while (!peerHashes_.empty() && !ownHashes_.empty() && state_ == State::Playing) {
        const auto [tick, hash] = peerHashes_.front();
        if (tick > ownHashes_.back().first) {
            return;
        }
        peerHashes_.pop_front();
        const auto own =
            std::find_if(ownHashes_.begin(), ownHashes_.end(),
                         [tick = tick](const auto& kept) { return kept.first == tick; });
        if (own != ownHashes_.end() && own->second != hash) {
            desync(tick, "the two machines' games differ");
        }
    }
}

void Lockstep::stop(State state, const std::string& problem) {
    state_ = state;
    problem_ = problem;
}

// The other machine is told, so that both stop at once.
void Lockstep::desync(std::uint64_t tick, const std::string& problem) {
    stop(State::Desynced, problem);
    mismatchTick_ = tick;
    NetMessage message;
    message.kind = NetMessageKind::Desync;
    message.mismatchTick = tick;
    link_.send(Channel::Reliable, NetCodec::encode(message));
    link_.flush();
}
