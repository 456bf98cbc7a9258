#pragma once
// Two machines run one game by running the same rules on the same commands:
// only commands travel, never state. Each machine stamps its own side's
// commands a fixed input delay ahead of the tick it is at, and a tick runs
// only once both sides' commands for it are known.
//
// The lockstep is the Model's one command source in a network game: it asks
// this machine's own sources (the program's player) for their commands, takes
// its person's through submit(), and gives the tick both sides' commands,
// side 0's first, the same on both machines. exchange() takes what the link
// brought; send() goes once a frame with every command the other machine has
// not acknowledged (at most kMaxTicks ticks of them, "nothing" included), so
// that one lost packet costs nothing, and with the latest state hash, taken
// every kHashPeriod ticks, so that differing states are found.
#include <cstdint>
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "game/CommandSink.h"
#include "game/CommandSource.h"
#include "game/TickObserver.h"
#include "net/Link.h"
#include "net/NetMessage.h"

class Lockstep final : public CommandSource, public TickObserver, public CommandSink {
public:
    static constexpr int kHashPeriod = 30;  // ticks between the state hashes compared
    enum class State { Playing, Desynced, Gone, Faulted };

    // From `startTick` on, the next tick the Model runs; the ticks before
    // startTick + inputDelay have no commands on either machine.
    Lockstep(Link& link, int localSide, int inputDelay, std::uint64_t startTick);

    // Makes the lockstep the Model's one source of commands, from its next
    // tick on: this machine's input goes into it, the other side is remote,
    // and the program, when it plays this machine's side, plays behind it.
    void attach(bool computerPlays);
    // One of this machine's own sources, asked every tick; not owned.
    void addLocalSource(CommandSource* source) { localSources_.push_back(source); }

    void submit(const Command& command) override;
    void give(std::uint64_t tick, CommandQueue& queue) override;
    bool ready(std::uint64_t tick) const override;
    void afterTick(const TickReport& report) override;

    // Takes every message the link has brought; a bad one ends the game.
    void exchange();
    // The unacknowledged commands and the latest hash, then out on the link.
    void send();

    State state() const { return state_; }
    const std::string& problem() const { return problem_; }       // why it is not Playing
    std::uint64_t mismatchTick() const { return mismatchTick_; }  // when Desynced
    int localSide() const { return localSide_; }
    int inputDelay() const { return delay_; }

private:
    void take(const NetMessage& message);
    void takeTicks(const NetMessage& message);
    bool takeTick(std::uint64_t tick, TickCommands commands);
    void takeHash(std::uint64_t tick, std::uint64_t hash);
    void compareHashes();
    void closeOwnTick();
    void stop(State state, const std::string& problem);
    void desync(std::uint64_t tick, const std::string& problem);

    Link& link_;
    const int localSide_;
    const int delay_;
    std::vector<CommandSource*> localSources_;
    TickCommands open_;                  // this machine's commands for tick closed_
    std::uint64_t closed_;               // own ticks below it are final
    std::deque<TickCommands> unacked_;   // own ticks from unackedFrom_ to closed_
    std::uint64_t unackedFrom_;          // the other machine holds our ticks below it
    std::deque<TickCommands> ownToRun_;  // own ticks from next_ to closed_
    std::deque<TickCommands> peer_;      // the other's ticks from peerFrom_ to known_
    std::uint64_t peerFrom_;
    std::uint64_t known_;  // the other's ticks below it are known
    std::uint64_t next_;   // the next tick the Model runs
    std::deque<std::pair<std::uint64_t, std::uint64_t>> ownHashes_;   // (tick, hash), oldest first
    std::deque<std::pair<std::uint64_t, std::uint64_t>> peerHashes_;  // not compared yet
    State state_ = State::Playing;
    std::string problem_;
    std::uint64_t mismatchTick_ = 0;
};
