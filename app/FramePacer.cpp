#include "app/FramePacer.h"

#include <utility>

FramePacer::FramePacer(std::function<Clock::time_point()> now,
                       std::function<void(Clock::duration)> sleep)
    : now_(std::move(now)), sleep_(std::move(sleep)) {}

void FramePacer::awaitNextFrame() {
    const Clock::time_point now = now_();
    if (now >= due_) {
        due_ = now + kFramePeriod;
        return;
    }
    sleep_(due_ - now);
    // Counted from when the frame was due, not from when the sleep ended, so
    // that a sleep's small overshoots do not add up to a slower game.
    due_ += kFramePeriod;
}
