#pragma once
// Keeps the game's time: the rules advance in ticks of exactly 1/60 s of the
// wall clock, whatever the display manages. The idle callback calls
// awaitNextFrame, which sleeps (never spins) until the next tick is due; the
// frame then takes the ticks due by now and runs them before it draws. A fast
// display thus gets one tick a frame and at most 60 frames a second; a slow
// one runs up to kMaxTicksPerFrame ticks before each frame, and a longer
// backlog is dropped, so that the game slows down instead of freezing.
#include <chrono>
#include <cstdint>
#include <functional>

class FramePacer {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr int kMaxTicksPerFrame = 8;

    // The clock and the sleep are the system's in the game and stand-ins in tests.
    FramePacer(std::function<Clock::time_point()> now, std::function<void(Clock::duration)> sleep);

    void awaitNextFrame();
    // The number of ticks due since the last call, 0 to kMaxTicksPerFrame;
    // the first call finds the first tick due.
    int takeDueTicks();

private:
    void startOnce(Clock::time_point now);
    Clock::time_point dueAt(std::uint64_t tick) const;
    std::uint64_t lastDueBy(Clock::time_point now) const;

    std::function<Clock::time_point()> now_;
    std::function<void(Clock::duration)> sleep_;
    bool started_ = false;
    Clock::time_point start_{};  // when tick 0 was due; moves on when a backlog is dropped
    std::uint64_t taken_ = 0;    // ticks handed out so far
};
