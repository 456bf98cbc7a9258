#pragma once
// The program's one pseudo-random source. Every draw is uniform over 0..32767;
// the map growth takes tens of millions of draws at start-up, so a draw is an
// inline linear congruential step with no call and no locking.
#include <cstdint>

class Random {
public:
    static constexpr int kMaxDraw = 32767;
    static constexpr std::uint32_t kMultiplier = 214013u;
    static constexpr std::uint32_t kIncrement = 2531011u;

    static void seed(std::uint32_t value) { state = value; }
    static std::uint32_t currentState() { return state; }

    // The generator's step and the draw a state yields, for a hot loop that
    // keeps its own copy of the state and hands it back through seed(). Forced
    // inline: unoptimised builds would otherwise pay a call per walk step.
    [[gnu::always_inline]] static constexpr std::uint32_t next(std::uint32_t from) {
        return from * kMultiplier + kIncrement;
    }
    // The high bits of the state: its low bits are too regular to use.
    [[gnu::always_inline]] static constexpr int drawOf(std::uint32_t at) {
        return static_cast<int>((at >> 16) & 0x7fffu);
    }

    // One draw in 0..32767.
    static int draw() {
        state = next(state);
        return drawOf(state);
    }

    // A draw divided by 32767, rounded to float: in [0, 1], 1 included.
    static constexpr float fraction(int drawn) {
        return static_cast<float>(static_cast<double>(drawn) / kMaxDraw);
    }

private:
    static inline std::uint32_t state = 1;
};

// A draw divided by 32767 (in double precision), rounded to float.
inline float randomFraction() {
    return Random::fraction(Random::draw());
}
