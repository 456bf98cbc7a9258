#pragma once
// One machine's side of a network game, from the first packet to the last:
// the greeting that agrees on the game, the lockstep that plays it, and how
// it stops. The network game makes one on its link and calls step() with the
// time on every pass of its loop; every change of state happens there, but
// for begin(), by which this machine says its world is ready to play, and
// end(), by which it turns down what it was sent. Nothing here reads a
// clock or waits, so a test drives a whole session on a fake link and clock.
//
//   host:   Waiting -> Greeting -> Ready -> Playing -> Dropped or Ended
//   joiner: Connecting -> Greeting -> Ready -> Playing -> Dropped or Ended
//
// A host turns away a machine it cannot play with, and waits again; a joiner
// that is refused, misunderstood or not answered Ends.
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "net/Link.h"
#include "net/NetMessage.h"

class Lockstep;

class NetworkSession {
public:
    using Clock = std::chrono::steady_clock;
    enum class State {
        Connecting,  // joiner: the link to the host is being made
        Greeting,    // the other machine is there; the joiner's Hello awaits the Welcome
        Waiting,     // host: nobody has joined yet
        Ready,       // the Welcome went or came: the game is agreed; begin() starts it
        Playing,     // in lockstep
        Dropped,     // the other machine closed the link or fell silent
        Ended,       // stopped for a reason that is no one's connection: see problem()
    };
    // "waiting for the other player" is shown when the ticks have waited this long.
    static constexpr auto kWaitShownAfter = std::chrono::seconds(1);

    // The host offers the game it plays: its seed, whether the program plays
    // its side, and a resumed game's record as its file holds it (none for a
    // new game).
    struct Offer {
        std::uint32_t seed = 0;
        bool hostComputer = false;
        std::vector<std::uint8_t> record;
    };
    static std::unique_ptr<NetworkSession> host(Link& link, Offer offer);
    // `where` names the host in what is told; `computer` whether the program
    // plays the joiner's side.
    static std::unique_ptr<NetworkSession> join(Link& link, std::string where, bool computer);
    ~NetworkSession();
    NetworkSession(const NetworkSession&) = delete;
    NetworkSession& operator=(const NetworkSession&) = delete;

    // Takes what the link brought and moves on as it says.
    void step(Clock::time_point now);
    // Ready to Playing, from the Model's tick `startTick`: the lockstep
    // becomes the Model's one source of commands.
    void begin(std::uint64_t startTick);
    // After the pass's ticks: this machine's commands and hash go out.
    void send();
    // What this machine was sent cannot be played (the host's record does
    // not play through): the session Ends with that reason.
    void end(const std::string& problem);

    State state() const { return state_; }
    bool isHost() const { return host_; }
    int localSide() const { return host_ ? 0 : 1; }
    // Why it is Dropped or Ended, in words.
    const std::string& problem() const { return problem_; }
    // The Welcome, as sent or received, from Ready on: the game agreed.
    const NetMessage& agreed() const { return agreed_; }
    // Whether to show that this machine waits for the other one: the host
    // until a machine joins, then whenever the ticks have been held up for
    // kWaitShownAfter.
    bool waitingShown() const { return waitingShown_; }
    // From Playing on: the lockstep, for what it found.
    Lockstep* lockstep() const { return lockstep_.get(); }
    // What happened that the player should hear of, taken once.
    std::vector<std::string> takeNotices();

private:
    NetworkSession(Link& link, bool host);
    void stepHost(const LinkEvent& event);
    void stepJoiner(const LinkEvent& event);
    void welcome(const NetMessage& hello);
    void takeAnswer(const LinkEvent& event);
    void stepPlaying(Clock::time_point now);
    void turnAway(const std::string& why);
    void stop(State state, const std::string& problem);

    Link& link_;
    const bool host_;
    State state_;
    Offer offer_;            // host
    std::string where_;      // joiner: the host's address, for what is told
    bool computer_ = false;  // joiner: the program plays its side
    NetMessage agreed_;
    std::unique_ptr<Lockstep> lockstep_;
    std::string problem_;
    std::vector<std::string> notices_;
    bool heldUp_ = false;              // Playing: the ticks wait for the other machine...
    Clock::time_point heldUpSince_{};  // ...since then
    bool waitingShown_ = false;
};
