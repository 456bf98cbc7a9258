#include "sound/SoundBank.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

enum class Wave : std::uint8_t { Sine, Square, Triangle, Noise };

// One note: a tone sliding from `from` to `to` Hz (ignored for noise), rising
// to `level` in `attackMs` and then dying away exponentially, to about 1/1000
// by its end. It starts `atMs` after the effect does; notes may overlap.
struct Note {
    Wave wave;
    float from, to;  // Hz
    int lengthMs;
    int attackMs;
    float level;  // 0..1 of full scale
    int atMs;
};

constexpr int kMostNotes = 4;

struct Recipe {
    int noteCount;
    Note notes[kMostNotes];
};

// Pitches for the chimes, in Hz.
constexpr float kC5 = 523.25f, kE5 = 659.26f, kG5 = 783.99f, kC6 = 1046.5f;
constexpr float kG4 = 392.0f, kB4 = 493.88f, kD5 = 587.33f;

// By Effect. Player 0 is heard higher and rising, player 1 lower and falling,
// so that each can tell whose node or turn it was without looking. The blow
// is short and soft: a full lane strikes many times a second.
constexpr Recipe kRecipes[kEffectCount] = {
    // ShipSelected, ShipStep
    {1, {{Wave::Sine, 880, 1175, 70, 4, 0.5f, 0}}},
    {1, {{Wave::Triangle, 240, 150, 110, 6, 0.6f, 0}}},
    // NodeTakenBy0, NodeTakenBy1
    {2, {{Wave::Sine, kC5, kC5, 90, 5, 0.5f, 0}, {Wave::Sine, kG5, kG5, 160, 5, 0.5f, 90}}},
    {2, {{Wave::Sine, kD5, kD5, 90, 5, 0.5f, 0}, {Wave::Sine, kG4, kG4, 160, 5, 0.5f, 90}}},
    // ShipBought, Refused
    {2, {{Wave::Square, 988, 988, 60, 2, 0.2f, 0}, {Wave::Square, 1319, 1319, 180, 2, 0.2f, 60}}},
    {1, {{Wave::Square, 110, 98, 180, 5, 0.3f, 0}}},
    // TurnTo0, TurnTo1
    {3,
     {{Wave::Sine, kC5, kC5, 110, 4, 0.4f, 0},
      {Wave::Sine, kE5, kE5, 110, 4, 0.4f, 110},
      {Wave::Sine, kG5, kG5, 260, 4, 0.4f, 220}}},
    {3,
     {{Wave::Sine, kB4, kB4, 110, 4, 0.4f, 0},
      {Wave::Sine, kG4, kG4, 110, 4, 0.4f, 110},
      {Wave::Sine, kE5 / 2, kE5 / 2, 260, 4, 0.4f, 220}}},
    // BattleStart, UnitSent, UnitBlow, UnitKilled
    {2, {{Wave::Noise, 0, 0, 250, 10, 0.4f, 0}, {Wave::Square, 110, 220, 400, 20, 0.25f, 0}}},
    {2, {{Wave::Noise, 0, 0, 60, 3, 0.3f, 0}, {Wave::Sine, 330, 660, 80, 3, 0.35f, 0}}},
    {1, {{Wave::Noise, 0, 0, 30, 1, 0.35f, 0}}},
    {1, {{Wave::Triangle, 700, 120, 170, 2, 0.55f, 0}}},
    // ShipHit, ShipDestroyed
    {2, {{Wave::Noise, 0, 0, 90, 2, 0.45f, 0}, {Wave::Sine, 95, 70, 140, 2, 0.5f, 0}}},
    {2, {{Wave::Noise, 0, 0, 800, 8, 0.5f, 0}, {Wave::Sine, 70, 30, 700, 8, 0.5f, 0}}},
    // Win
    {4,
     {{Wave::Square, kC5, kC5, 140, 3, 0.2f, 0},
      {Wave::Square, kE5, kE5, 140, 3, 0.2f, 160},
      {Wave::Square, kG5, kG5, 140, 3, 0.2f, 320},
      {Wave::Square, kC6, kC6, 600, 3, 0.2f, 480}}},
};

constexpr double kTwoPi = 6.283185307179586;
constexpr double kDecayToEnd = 6.9;  // e^-6.9: about 1/1000 left when a note ends

int samplesOf(int ms) {
    return ms * kSoundRate / 1000;
}

// A small generator of its own: the game's random sequence must not move
// because sounds were made.
class Noise {
public:
    float next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return static_cast<float>(state_) / 2147483648.0f - 1.0f;
    }

private:
    std::uint32_t state_ = 0x9e3779b9u;
};

float waveAt(Wave wave, double phase, Noise& noise) {
    switch (wave) {
        case Wave::Sine:
            return static_cast<float>(std::sin(kTwoPi * phase));
        case Wave::Square:
            return phase < 0.5 ? 1.0f : -1.0f;
        case Wave::Triangle:
            return static_cast<float>(phase < 0.5 ? 4 * phase - 1 : 3 - 4 * phase);
        case Wave::Noise:
            return noise.next();
    }
    return 0;
}

// Adds one note, starting at `start`, to the samples (float, full scale 1).
void addNote(const Note& note, int start, std::vector<float>& out, Noise& noise) {
    const int length = samplesOf(note.lengthMs);
    const int attack = samplesOf(note.attackMs) + 1;
    const double decayRate = kDecayToEnd / length;
    double phase = 0;
    for (int i = 0; i < length; ++i) {
        const double frequency = note.from + (note.to - note.from) * i / length;
        const double envelope =
            i < attack ? static_cast<double>(i) / attack : std::exp(-decayRate * (i - attack));
        out[start + i] +=
            static_cast<float>(note.level * envelope) * waveAt(note.wave, phase, noise);
        phase += frequency / kSoundRate;
        phase -= std::floor(phase);
    }
}

}  // namespace

std::vector<std::int16_t> makeEffect(Effect effect) {
    const Recipe& recipe = kRecipes[static_cast<int>(effect)];
    int total = 0;
    for (int n = 0; n < recipe.noteCount; ++n) {
        const Note& note = recipe.notes[n];
        total = std::max(total, samplesOf(note.atMs) + samplesOf(note.lengthMs));
    }
    std::vector<float> mix(total, 0.0f);
    Noise noise;
    for (int n = 0; n < recipe.noteCount; ++n) {
        addNote(recipe.notes[n], samplesOf(recipe.notes[n].atMs), mix, noise);
    }
    std::vector<std::int16_t> samples(total);
    for (int i = 0; i < total; ++i) {
        const float clipped = std::fmax(-1.0f, std::fmin(1.0f, mix[i]));
        samples[i] = static_cast<std::int16_t>(clipped * 32767.0f);
    }
    return samples;
}
