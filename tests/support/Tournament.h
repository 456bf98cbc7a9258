#pragma once
// Whole games without a window or drawing: the computer player on one side,
// an opponent on the other, and between their moves the same rules code a
// displayed frame runs, the battle advanced one step per frame. The opponent
// acts through the game's own callbacks, as a person would; the computer
// player's side ignores whatever reaches it that way.
#include <cstdint>
#include <vector>

enum class Opponent {
    Random,    // random legal orders, purchases and turn ends; random battle keys
    Guided,    // the soak tests' guided hands, pressing on
    Computer,  // the computer player itself
};

struct MatchResult {
    bool finished = false;  // a player was left without nodes within the turn cap
    bool computerWon = false;
    int turns = 0;
    int battles = 0;
    // What the computer player took to choose each map action, and for each
    // battle step, in seconds.
    std::vector<double> mapActionSeconds;
    std::vector<double> battleStepSeconds;
};

MatchResult playMatch(std::uint32_t seed, int computerSide, Opponent opponent, int turnCap);
