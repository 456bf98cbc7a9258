#pragma once
// Holds the game to at most 60 frames a second. Animation and the battle
// advance one step per displayed frame, so without a limit they would run as
// fast as the display allows: faster on a faster screen, and with a CPU core
// kept busy. The idle callback calls awaitNextFrame before it asks for a
// frame; the pacer sleeps until that frame is due, never spins, and lets a
// frame that comes late go at once, without rushing later ones to catch up.
#include <chrono>
#include <functional>

class FramePacer {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr Clock::duration kFramePeriod =
        std::chrono::duration_cast<Clock::duration>(std::chrono::nanoseconds(1000000000 / 60));

    // The clock and the sleep are the system's in the game and stand-ins in tests.
    FramePacer(std::function<Clock::time_point()> now, std::function<void(Clock::duration)> sleep);

    void awaitNextFrame();

private:
    std::function<Clock::time_point()> now_;
    std::function<void(Clock::duration)> sleep_;
    Clock::time_point due_{};  // when the next frame may start; the first is due at once
};
