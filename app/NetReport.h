#pragma once
// With KARVOSSA_NET_REPORT in the environment, a network game prints a line
// on standard output every kPeriod with what the ticks and the link did: for
// measuring play over a poor line (scripts/measure-network.sh reads it).
// Battle ticks are counted over the passes of the loop that began and ended
// in a battle.
#include <chrono>
#include <cstdint>

class EnetLink;

class NetReport {
public:
    static constexpr auto kPeriod = std::chrono::seconds(5);

    // After every pass of the loop's ticks.
    void afterTicks(const EnetLink& link);

private:
    using Clock = std::chrono::steady_clock;

    void start(Clock::time_point now, const EnetLink& link);
    void print(Clock::time_point now, const EnetLink& link) const;

    bool started_ = false;
    Clock::time_point since_{};
    Clock::time_point lastPass_{};
    std::uint64_t firstTick_ = 0;
    std::uint64_t lastTick_ = 0;
    std::uint64_t sent_ = 0;
    std::uint64_t received_ = 0;
    std::uint64_t battleTicks_ = 0;
    Clock::duration battleTime_{};
    bool wasInBattle_ = false;
};
