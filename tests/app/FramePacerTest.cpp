#include "app/FramePacer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "app/Input.h"
#include "app/RecordedGame.h"
#include "app/Screens.h"
#include "game/Model.h"
#include "record/RecordCodec.h"
#include "support/RecordedGames.h"
#include "support/World.h"

namespace {

using std::chrono::milliseconds;
using Clock = FramePacer::Clock;

// A clock that moves only by the frames' work and the pacer's sleeps.
struct FakeTime {
    Clock::time_point now{};
    Clock::duration slept{};
    FramePacer pacer{[this] { return now; },
                     [this](Clock::duration wait) {
                         slept += wait;
                         now += wait;
                     }};

    // One pass of the main loop whose frame takes `work`; the ticks it ran.
    int pass(Clock::duration work) {
        pacer.awaitNextFrame();
        const int ticks = pacer.takeDueTicks();
        now += work;
        return ticks;
    }
    template <typename Tick>
    void pass(Clock::duration work, Tick tick) {
        pacer.awaitNextFrame();
        for (int due = pacer.takeDueTicks(); due > 0; --due) {
            tick();
        }
        now += work;
    }
    double seconds() const {
        return std::chrono::duration<double>(now - Clock::time_point{}).count();
    }
};

TEST(FramePacer, QuickFramesGetOneTickEachAndSleepTheRestOfIt) {
    FakeTime time;
    long ticks = 0;
    for (int frame = 0; frame < 600; ++frame) {
        EXPECT_EQ(time.pass(milliseconds(4)), 1) << "frame " << frame;
        ++ticks;
    }
    time.pacer.awaitNextFrame();
    EXPECT_NEAR(time.seconds(), 10.0, 1e-6) << "600 ticks, 60 a second";
    EXPECT_GT(time.slept, std::chrono::seconds(7)) << "the pacer sleeps instead of spinning";
}

TEST(FramePacer, TwentyFramesASecondStillRunSixhundredTicksInTenSeconds) {
    FakeTime time;
    long ticks = time.pass(milliseconds(50));  // the first tick, at time 0
    while (time.seconds() < 10.0) {
        ticks += time.pass(milliseconds(50));
    }
    ticks += time.pass(milliseconds(50));  // the pass at exactly 10 s
    EXPECT_EQ(ticks - 1, 600);
}

TEST(FramePacer, AFrameSlowerThanEightTicksDropsTheRestAndTheGameSlowsDown) {
    FakeTime time;
    EXPECT_EQ(time.pass(milliseconds(1000)), 1);
    EXPECT_EQ(time.pass(milliseconds(10)), FramePacer::kMaxTicksPerFrame)
        << "a whole second is due, eight ticks run";
    // The dropped backlog is not paid back: the next frame finds one tick due,
    // a period after the last one handed out.
    EXPECT_EQ(time.pass(milliseconds(10)), 1);
    EXPECT_EQ(time.pass(milliseconds(4)), 1);
}

// The same seeded game of the program against itself, its frames drawn at
// each rate by a stand-in that only takes the frame's time: the rules see
// the same commands at the same ticks, so every tick ends in the same state.
std::vector<std::uint64_t> hashesAt(int framesPerSecond, int ticks) {
    Model* model = buildWorld(77);
    model->addComputer(0);
    model->addComputer(1);
    FakeTime time;
    const auto frame =
        std::chrono::duration_cast<Clock::duration>(std::chrono::seconds(1)) / framesPerSecond;
    std::vector<std::uint64_t> hashes;
    while (static_cast<int>(hashes.size()) < ticks) {
        time.pass(frame, [&] {
            if (static_cast<int>(hashes.size()) < ticks) {
                runGameTick();
                hashes.push_back(model->stateHash());
            }
        });
    }
    Model::resetSelf();
    return hashes;
}

TEST(FramePacer, TheGameIsTheSameTickForTickAtAnyFrameRate) {
    constexpr int kTicks = 4000;  // past the title, several turns and into a battle
    const std::vector<std::uint64_t> reference = hashesAt(60, kTicks);
    for (const int rate : {20, 37, 144}) {
        const std::vector<std::uint64_t> hashes = hashesAt(rate, kTicks);
        ASSERT_EQ(hashes.size(), reference.size());
        for (int tick = 0; tick < kTicks; ++tick) {
            ASSERT_EQ(hashes[tick], reference[tick]) << rate << " frames/s, tick " << tick;
        }
    }
}

// A replay, shown from a record of 1500 ticks, paced by the test's clock.
TEST(ReplayPace, SixtyTicksASecondFourTimesAsManyAfterFAndNonePastTheEnd) {
    const std::vector<std::uint8_t> bytes =
        encodeRecord(5, {commandEntry(1499, CommandKind::LeaveTitle, 0)});
    const Record record = RecordCodec::decode(bytes.data(), bytes.size()).record;
    const Model* model = buildWorld(5);
    RecordedGame::show(record);
    FakeTime time;
    const auto ticksIn = [&](int seconds) {
        const std::uint64_t before = model->tick;
        for (int frame = 0; frame < 60 * seconds; ++frame) {
            time.pacer.awaitNextFrame();
            runDueTicks(time.pacer);
            time.now += milliseconds(4);
        }
        return model->tick - before;
    };
    EXPECT_EQ(ticksIn(1), 60u);
    onKeyboard('f', 0, 0);
    EXPECT_EQ(ticksIn(1), 240u);
    onKeyboard(' ', 0, 0);
    EXPECT_EQ(ticksIn(1), 0u) << "paused";
    onKeyboard(' ', 0, 0);
    EXPECT_EQ(ticksIn(6), 1200u) << "five seconds' worth, then no tick past the record's end";
    onKeyboard('f', 0, 0);
    EXPECT_EQ(ticksIn(1), 0u);
    Model::resetSelf();
}

}  // namespace
