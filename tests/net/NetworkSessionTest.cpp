#include "net/NetworkSession.h"

#include <gtest/gtest.h>

#include "game/Model.h"
#include "game/RulesVersion.h"
#include "game/Tick.h"
#include "net/Lockstep.h"
#include "support/ScriptedLink.h"
#include "support/World.h"

namespace {

using State = NetworkSession::State;
using Clock = NetworkSession::Clock;

NetMessage hello(const std::string& version = KARVOSSA_VERSION) {
    NetMessage message;
    message.kind = NetMessageKind::Hello;
    message.text = version;
    message.computer[1] = true;
    return message;
}

NetMessage welcome(std::uint32_t seed) {
    NetMessage message;
    message.kind = NetMessageKind::Welcome;
    message.seed = seed;
    message.inputDelay = 3;
    return message;
}

class NetworkSessionTest : public ::testing::Test {
protected:
    void TearDown() override { Model::resetSelf(); }

    std::unique_ptr<NetworkSession> host() {
        NetworkSession::Offer offer;
        offer.seed = 77;
        offer.record = {1, 2, 3};
        return NetworkSession::host(link, offer);
    }

    ScriptedLink link;
    Clock::time_point now{};
};

TEST_F(NetworkSessionTest, AHostWaitsGreetsPlaysAndIsDroppedWhenTheJoinerGoes) {
    std::unique_ptr<NetworkSession> session = host();
    EXPECT_EQ(session->state(), State::Waiting);
    EXPECT_TRUE(session->waitingShown());
    link.joined();
    session->step(now);
    EXPECT_EQ(session->state(), State::Greeting);

    link.roundTripMs = 100;  // 50 ms one way: 3 ticks, and the margin's 3
    link.message(hello());
    session->step(now);
    ASSERT_EQ(session->state(), State::Ready);
    ASSERT_EQ(link.sent.size(), 1u);
    const NetMessage& sent = link.sent[0].message;
    EXPECT_EQ(sent.kind, NetMessageKind::Welcome);
    EXPECT_EQ(link.sent[0].channel, Channel::Reliable);
    EXPECT_EQ(sent.seed, 77u);
    EXPECT_TRUE(sent.computer[1]);
    EXPECT_EQ(sent.inputDelay, 6);
    EXPECT_EQ(sent.record, (std::vector<std::uint8_t>{1, 2, 3}));

    buildWorld(77);
    session->begin(Model::getSelf()->tick);
    EXPECT_EQ(session->state(), State::Playing);
    EXPECT_FALSE(session->waitingShown());
    link.gone();
    session->step(now);
    EXPECT_EQ(session->state(), State::Dropped);
    EXPECT_EQ(session->problem(), "the other player is gone");
}

// Whatever goes wrong before the Welcome, the host lets the machine go and
// waits for the next, which may then join.
TEST_F(NetworkSessionTest, AHostTurnsAwayWhatItCannotPlayWithAndWaitsAgain) {
    std::unique_ptr<NetworkSession> session = host();
    link.joined();
    link.message(hello("0.9"));
    session->step(now);
    EXPECT_EQ(session->state(), State::Waiting);
    ASSERT_EQ(link.sent.size(), 1u);
    EXPECT_EQ(link.sent[0].message.kind, NetMessageKind::Refusal);
    EXPECT_EQ(link.sent[0].message.text,
              std::string("the host plays version ") + KARVOSSA_VERSION + ", not 0.9");
    EXPECT_EQ(link.released, 1);

    NetMessage otherRules = hello();
    otherRules.rulesVersion = kRulesVersion + 1;
    link.joined();
    link.message(otherRules);
    session->step(now);
    EXPECT_EQ(link.sent.back().message.text, "the host plays rules version " +
                                                 std::to_string(kRulesVersion) + ", not " +
                                                 std::to_string(kRulesVersion + 1));

    link.joined();
    link.bytes({0xee});
    link.joined();
    link.message(welcome(1));
    link.joined();
    link.gone();
    session->step(now);
    EXPECT_EQ(session->state(), State::Waiting);
    EXPECT_EQ(link.released, 5);
    const std::vector<std::string> notices = session->takeNotices();
    ASSERT_EQ(notices.size(), 4u);
    EXPECT_EQ(notices[0], "a machine of version 0.9 was refused; waiting for another");
    EXPECT_EQ(notices[3], "a machine that joined sent a message out of turn; waiting for another");
    EXPECT_TRUE(session->takeNotices().empty());

    link.joined();
    link.message(hello());
    session->step(now);
    EXPECT_EQ(session->state(), State::Ready);
}

TEST_F(NetworkSessionTest, AJoinerSaysHelloAndIsWelcomedPastEarlyCommands) {
    std::unique_ptr<NetworkSession> session = NetworkSession::join(link, "host:1", true);
    EXPECT_EQ(session->state(), State::Connecting);
    link.joined();
    session->step(now);
    EXPECT_EQ(session->state(), State::Greeting);
    ASSERT_EQ(link.sent.size(), 1u);
    EXPECT_EQ(link.sent[0].message.kind, NetMessageKind::Hello);
    EXPECT_EQ(link.sent[0].message.text, KARVOSSA_VERSION);
    EXPECT_TRUE(link.sent[0].message.computer[1]);

    NetMessage early;
    early.kind = NetMessageKind::Inputs;
    link.message(early);
    link.message(welcome(9));
    session->step(now);
    ASSERT_EQ(session->state(), State::Ready);
    EXPECT_EQ(session->agreed().seed, 9u);
    EXPECT_EQ(session->localSide(), 1);
}

TEST_F(NetworkSessionTest, AJoinerEndsWithTheReasonInWords) {
    struct Case {
        std::function<void(ScriptedLink&)> script;
        const char* problem;
    };
    NetMessage refusal;
    refusal.kind = NetMessageKind::Refusal;
    refusal.text = "the game is already full";
    const Case cases[] = {
        {[](ScriptedLink& l) { l.gone(); }, "nobody answered at host:1"},
        {[](ScriptedLink& l) { l.gone(7); },
         "the host plays another version of the network game (protocol 7)"},
        {[](ScriptedLink& l) { l.joined(), l.gone(); }, "the host at host:1 closed the connection"},
        {[&](ScriptedLink& l) { l.joined(), l.message(refusal); },
         "the host refused to play: the game is already full"},
        {[](ScriptedLink& l) { l.joined(), l.message(hello()); },
         "the host sent a message out of turn"},
        {[](ScriptedLink& l) { l.joined(), l.bytes({}); },
         "the host sent a malformed message (bytes cut short)"},
    };
    for (const Case& c : cases) {
        ScriptedLink scripted;
        std::unique_ptr<NetworkSession> session = NetworkSession::join(scripted, "host:1", false);
        c.script(scripted);
        session->step(now);
        EXPECT_EQ(session->state(), State::Ended) << c.problem;
        EXPECT_EQ(session->problem(), c.problem);
    }
}

// The wait is shown only once the ticks have been held up for a second, on
// the session's clock, and goes as soon as they run again.
TEST_F(NetworkSessionTest, PlayingShowsTheWaitAfterASecondHeldUpAndEndsOnADesync) {
    std::unique_ptr<NetworkSession> session = NetworkSession::join(link, "host:1", false);
    link.joined();
    link.message(welcome(5));
    session->step(now);
    Model* model = buildWorld(5);
    session->begin(model->tick);
    while (tickReady()) {
        runTick();  // the ticks before the input delay need no commands
    }
    session->step(now);
    EXPECT_FALSE(session->waitingShown());
    session->step(now + NetworkSession::kWaitShownAfter - std::chrono::milliseconds(1));
    EXPECT_FALSE(session->waitingShown());
    session->step(now + NetworkSession::kWaitShownAfter);
    EXPECT_TRUE(session->waitingShown());

    NetMessage inputs;
    inputs.kind = NetMessageKind::Inputs;
    inputs.firstTick = model->tick;
    inputs.ticks.resize(1);
    link.message(inputs);
    session->step(now + std::chrono::seconds(2));
    EXPECT_FALSE(session->waitingShown());
    EXPECT_EQ(session->state(), State::Playing);

    NetMessage desync;
    desync.kind = NetMessageKind::Desync;
    link.message(desync);
    session->step(now + std::chrono::seconds(3));
    EXPECT_EQ(session->state(), State::Ended);
    EXPECT_EQ(session->problem(), "the other machine found that the two games differ");
    EXPECT_EQ(session->lockstep()->state(), Lockstep::State::Desynced);
}

}  // namespace
