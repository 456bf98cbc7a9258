#include "app/FramePacer.h"

#include <utility>

#include "game/Model.h"

namespace {

constexpr std::int64_t kNanosPerSecond = 1000000000;

// Tick k is due k/60 s after the start, rounded down to the nanosecond, so
// that no rounding adds up over a long game.
std::chrono::nanoseconds offsetOf(std::uint64_t tick) {
    return std::chrono::nanoseconds(static_cast<std::int64_t>(tick) * kNanosPerSecond /
                                    kTicksPerSecond);
}

}  // namespace

FramePacer::FramePacer(std::function<Clock::time_point()> now,
                       std::function<void(Clock::duration)> sleep)
    : now_(std::move(now)), sleep_(std::move(sleep)) {}

void FramePacer::startOnce(Clock::time_point now) {
    if (!started_) {
        started_ = true;
        start_ = now;
    }
}

FramePacer::Clock::time_point FramePacer::dueAt(std::uint64_t tick) const {
    return start_ + std::chrono::duration_cast<Clock::duration>(offsetOf(tick));
}

// The last tick k whose offsetOf(k) has passed by now, the exact inverse of
// offsetOf's rounding; now is never before the start.
std::uint64_t FramePacer::lastDueBy(Clock::time_point now) const {
    const auto elapsed = std::chrono::duration_cast<std::chrono::nanoseconds>(now - start_);
    const std::int64_t past = (elapsed.count() + 1) * kTicksPerSecond - 1;
    return static_cast<std::uint64_t>(past / kNanosPerSecond);
}

void FramePacer::awaitNextFrame() {
    const Clock::time_point now = now_();
    startOnce(now);
    const Clock::time_point due = dueAt(taken_);
    if (now < due) {
        sleep_(due - now);
    }
}

int FramePacer::takeDueTicks() {
    const Clock::time_point now = now_();
    startOnce(now);
    if (now < dueAt(taken_)) {
        return 0;
    }
    const std::uint64_t due = lastDueBy(now) + 1 - taken_;
    if (due <= kMaxTicksPerFrame) {
        taken_ += due;
        return static_cast<int>(due);
    }
    // The backlog is dropped: the last tick handed out now counts as due now.
    taken_ += kMaxTicksPerFrame;
    start_ = now - std::chrono::duration_cast<Clock::duration>(offsetOf(taken_ - 1));
    return kMaxTicksPerFrame;
}
