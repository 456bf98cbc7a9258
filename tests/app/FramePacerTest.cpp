#include "app/FramePacer.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using std::chrono::milliseconds;
using Clock = FramePacer::Clock;

TEST(FramePacer, SleepsUntilEachFrameIsDueAndNeverRushesAfterALateOne) {
    Clock::time_point now{};  // moves only by the frames' work and the pacer's sleeps
    std::vector<Clock::duration> sleeps;
    FramePacer pacer([&] { return now; },
                     [&](Clock::duration wait) {
                         sleeps.push_back(wait);
                         now += wait;
                     });
    const Clock::duration period = FramePacer::kFramePeriod;

    for (int frame = 0; frame < 60; ++frame) {
        pacer.awaitNextFrame();
        now += milliseconds(4);
    }
    pacer.awaitNextFrame();
    EXPECT_EQ(now - Clock::time_point{}, 60 * period) << "quick frames come 60 a second";
    ASSERT_EQ(sleeps.size(), 60u) << "the first frame goes at once";
    EXPECT_EQ(sleeps.back(), period - milliseconds(4));

    sleeps.clear();
    now += milliseconds(40);
    pacer.awaitNextFrame();
    EXPECT_TRUE(sleeps.empty()) << "a late frame is followed at once";
    now += milliseconds(4);
    pacer.awaitNextFrame();
    EXPECT_EQ(sleeps, std::vector<Clock::duration>{period - milliseconds(4)})
        << "and the frame after it is not rushed to catch up";
}

}  // namespace
