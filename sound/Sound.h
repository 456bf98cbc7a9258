#pragma once
// The game's audio output: one OpenAL device and context, a buffer for each
// effect, made when it opens, and a few sources of each effect's own that
// play it; a source keeps its buffer for good, as OpenAL allocates whenever
// a source is given another.
// The entry opens it once the window stands; the tick's sounds (TickSounds)
// call play, the sound key calls toggleMuted. Without a device, or once the
// device is lost, it stays silent and says so once on standard error. OpenAL
// mixes on a thread of its own; no call here waits for it, and none
// allocates once the sound is open.
#include <AL/al.h>
#include <AL/alc.h>

#include "battle/Battle.h"
#include "sound/SoundBank.h"

// How many of one effect may sound at once: one per lane of the battle's
// chatter, two of the rest, so that a quick repeat does not cut the last off.
constexpr int kVoices[kEffectCount] = {2, 2, 2,          2,          2, 2, 2, 2,
                                       1, 3, kLaneCount, kLaneCount, 2, 1, 1};
constexpr int voicesUpTo(int effect) {
    return effect == 0 ? 0 : voicesUpTo(effect - 1) + kVoices[effect - 1];
}

class Sound {
public:
    static constexpr int kSourceCount = voicesUpTo(kEffectCount);

    Sound() = default;
    ~Sound();
    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;

    // Opens the default device at the volume (0..kLoudestVolume) and makes the
    // effects; false, after one line on standard error, when there is none.
    bool open(int volume, bool muted);
    void close();
    bool isOpen() const { return context_ != nullptr; }
    // Whether play can be heard: open, not muted and not at volume 0.
    bool audible() const { return isOpen() && !muted_ && volume_ > 0; }
    bool muted() const { return muted_; }
    // Muting stops what is playing; it may be switched without a device.
    void setMuted(bool muted);
    void toggleMuted() { setMuted(!muted_); }

    // Plays the effect, panned from -1 (left) to +1 (right), at gain 0..1 of
    // the volume. When all its sources are busy, the one started longest ago
    // starts again.
    void play(Effect effect, float pan, float gain);
    // Asks the device whether it is still there; a lost one closes the sound
    // with one line on standard error. Cheap, but the ticks call it seldom.
    void checkDevice();

    // Wall time open() spent making the effects and handing them to OpenAL.
    double makingMs() const { return makingMs_; }

private:
    bool start();
    void makeEffects();
    ALuint sourceFor(Effect effect);
    void applyGain();

    ALCdevice* device_ = nullptr;
    ALCcontext* context_ = nullptr;
    ALuint buffers_[kEffectCount] = {};
    ALuint sources_[kSourceCount] = {};
    int next_[kEffectCount] = {};  // by effect: its source to start again when all are busy
    bool canTellLoss_ = false;     // the device has ALC_EXT_disconnect
    int volume_ = kDefaultVolume;  // 0..kLoudestVolume
    bool muted_ = false;
    double makingMs_ = 0;
};
