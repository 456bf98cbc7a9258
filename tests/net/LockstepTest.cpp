#include "net/Lockstep.h"

#include <gtest/gtest.h>

#include <functional>

#include "game/Model.h"
#include "game/Player.h"
#include "net/NetCodec.h"
#include "record/RecordCodec.h"
#include "record/Recorder.h"
#include "record/Replay.h"
#include "support/RecordedGames.h"
#include "support/TwoMachines.h"
#include "support/World.h"

namespace {

TEST(Lockstep, TwoMachinesOverAPoorLineAgreeAtEveryTick) {
    TwoMachines machines(7, LineQuality{});
    machines.playUntil(3000, 8000);
    ASSERT_GE(machines.ticks(0), 3000u);
    ASSERT_GE(machines.ticks(1), 3000u);
    for (std::uint64_t tick = 0; tick < 3000; ++tick) {
        ASSERT_EQ(machines.hashes[0][tick], machines.hashes[1][tick]) << "tick " << tick;
    }
    EXPECT_EQ(machines.lockstep(0).state(), Lockstep::State::Playing);
    // The commands did travel: the game left the title and went through turns.
    const Model* model = machines.enter(0);
    EXPECT_GT(model->turn, 3);
    machines.leave(0);
}

// Both stop and mark their records; verifying them tells whose state went astray.
TEST(Lockstep, AFlippedBitInOneMachineIsFoundWithinThirtyTicks) {
    ScratchFolder folders[2];
    std::string paths[2];
    {
        TwoMachines machines(11, LineQuality{});
        machines.record({folders[0].path(), folders[1].path()});
        machines.playUntil(300, 2000);
        Model* model = machines.enter(1);
        model->players[1]->credits ^= 1;
        const std::uint64_t flipped = model->tick;
        machines.leave(1);
        machines.playUntil(UINT64_MAX, 200);
        for (int side = 0; side < 2; ++side) {
            const Lockstep& lockstep = machines.lockstep(side);
            EXPECT_EQ(lockstep.state(), Lockstep::State::Desynced) << side;
            EXPECT_GE(lockstep.mismatchTick(), flipped) << side;
            EXPECT_LT(lockstep.mismatchTick(), flipped + Lockstep::kHashPeriod) << side;
            machines.enter(side);
            machines.recorder(side)->markDesync(lockstep.mismatchTick());
            paths[side] = machines.recorder(side)->path();
            machines.leave(side);
        }
    }
    ReplayOutcome outcomes[2];
    for (int side = 0; side < 2; ++side) {
        const std::vector<std::uint8_t> bytes = readBytes(paths[side]);
        const RecordCodec::Decoded decoded = RecordCodec::decode(bytes.data(), bytes.size());
        ASSERT_TRUE(decoded.ok) << decoded.error;
        Model::resetSelf();
        outcomes[side] = Replay::headless(decoded.record);
    }
    Model::resetSelf();
    EXPECT_TRUE(outcomes[0].ok && outcomes[0].desynced) << outcomes[0].error;
    EXPECT_FALSE(outcomes[1].ok);
    EXPECT_NE(outcomes[1].error.find("differs"), std::string::npos) << outcomes[1].error;
}

NetMessage inputs(std::uint64_t received, std::uint64_t first, std::vector<TickCommands> ticks) {
    NetMessage message;
    message.kind = NetMessageKind::Inputs;
    message.received = received;
    message.firstTick = first;
    message.ticks = std::move(ticks);
    return message;
}

NetMessage ofKind(NetMessageKind kind) {
    NetMessage message;
    message.kind = kind;
    return message;
}

Command endTurn() {
    Command command;
    command.kind = CommandKind::EndTurn;
    return command;
}

// What the other machine may not say: each ends the game, as a fault or as
// the two games differing, and nothing of it is applied.
TEST(Lockstep, AMessageOutOfStepEndsTheGame) {
    constexpr int kDelay = 6;
    struct Case {
        const char* what;
        std::vector<NetMessage> messages;
        Lockstep::State ends;
    };
    const std::vector<Case> cases = {
        {"a hello in play", {ofKind(NetMessageKind::Hello)}, Lockstep::State::Faulted},
        {"an acknowledgement of ticks never sent",
         {inputs(1000, kDelay, {})},
         Lockstep::State::Faulted},
        {"ticks after a gap", {inputs(kDelay, kDelay + 1, {{}})}, Lockstep::State::Faulted},
        {"ticks further ahead than our commands reach",
         {inputs(kDelay, kDelay, std::vector<TickCommands>(2 * kDelay + 1))},
         Lockstep::State::Faulted},
        {"a tick's commands changed when sent again",
         {inputs(kDelay, kDelay, {{}}), inputs(kDelay, kDelay, {{endTurn()}})},
         Lockstep::State::Desynced},
        {"the other's word that the games differ",
         {ofKind(NetMessageKind::Desync)},
         Lockstep::State::Desynced},
    };
    for (const Case& c : cases) {
        Model::resetSelf();
        buildWorld(3);
        FakeLine line(1, LineQuality{10, 10, 0, 0});
        Lockstep lockstep(line.end(0), 0, kDelay, 0);
        for (const NetMessage& message : c.messages) {
            line.end(1).send(Channel::Reliable, NetCodec::encode(message));
        }
        line.advance(20);
        lockstep.exchange();
        EXPECT_EQ(lockstep.state(), c.ends) << c.what;
        EXPECT_FALSE(lockstep.problem().empty()) << c.what;
        EXPECT_FALSE(lockstep.ready(0)) << c.what;
    }
    const std::vector<std::uint8_t> malformed = {0xff};
    FakeLine line(1, LineQuality{10, 10, 0, 0});
    Lockstep lockstep(line.end(0), 0, kDelay, 0);
    line.end(1).send(Channel::Reliable, malformed);
    line.advance(20);
    lockstep.exchange();
    EXPECT_EQ(lockstep.state(), Lockstep::State::Faulted);
    Model::resetSelf();
}

}  // namespace
