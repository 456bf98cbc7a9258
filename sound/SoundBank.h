#pragma once
// The game's sound effects, made by the program: each is a few notes of a
// tone or of noise under an attack-and-decay envelope, computed once at
// start-up into 16-bit mono samples. Sound::open makes them and hands them
// to OpenAL; nothing here calls OpenAL, so the samples can be checked alone.
#include <cstdint>
#include <vector>

// Every effect the game plays; kEffectCount sizes the tables indexed by it.
enum class Effect : int {
    ShipSelected,
    ShipStep,
    NodeTakenBy0,  // a node taken by player 0; player 1's follows it
    NodeTakenBy1,
    ShipBought,
    Refused,  // a click that does nothing, a command the rules turned down
    TurnTo0,  // the turn passes to player 0; player 1's follows it
    TurnTo1,
    BattleStart,
    UnitSent,
    UnitBlow,
    UnitKilled,
    ShipHit,
    ShipDestroyed,
    Win,
};
constexpr int kEffectCount = 15;

constexpr int kSoundRate = 22050;  // samples per second of every effect

// The effect of a player's own kind (NodeTakenBy0 or 1, TurnTo0 or 1).
constexpr Effect playerEffect(Effect ofPlayer0, int player) {
    return static_cast<Effect>(static_cast<int>(ofPlayer0) + (player == 0 ? 0 : 1));
}

// The samples of one effect, kSoundRate a second, full scale at most.
std::vector<std::int16_t> makeEffect(Effect effect);

// Loudness as the player sets it (--volume): 0 is silent, 100 full scale.
constexpr int kLoudestVolume = 100;
constexpr int kDefaultVolume = 70;
