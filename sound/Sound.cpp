#include "sound/Sound.h"

#include <fcntl.h>
#include <unistd.h>

#include <AL/alext.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

void tellSilence(const char* why) {
    std::fprintf(stderr, "karvossa: %s; playing without sound\n", why);
}

// Opening the default device makes the audio libraries probe every system
// they know, and those that find nothing (ALSA on a machine without a sound
// card) write lines of complaints to standard error, as OpenAL does of a
// device it loses. The player gets the one notice instead; ALSOFT_LOGLEVEL,
// OpenAL's own switch for its log, lets them all through for whoever looks
// into a missing sound. OpenAL reads it at its first call.
ALCdevice* openQuietly() {
    if (std::getenv("ALSOFT_LOGLEVEL") != nullptr) {
        return alcOpenDevice(nullptr);
    }
    setenv("ALSOFT_LOGLEVEL", "0", 0);
    std::fflush(stderr);
    const int saved = dup(STDERR_FILENO);
    const int sink = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (saved >= 0 && sink >= 0) {
        dup2(sink, STDERR_FILENO);
    }
    ALCdevice* device = alcOpenDevice(nullptr);
    if (saved >= 0 && sink >= 0) {
        dup2(saved, STDERR_FILENO);
    }
    if (sink >= 0) {
        ::close(sink);
    }
    if (saved >= 0) {
        ::close(saved);
    }
    return device;
}

}  // namespace

Sound::~Sound() {
    close();
}

bool Sound::open(int volume, bool muted) {
    volume_ = volume < 0 ? 0 : volume > kLoudestVolume ? kLoudestVolume : volume;
    muted_ = muted;
    if (isOpen()) {
        applyGain();
        return true;
    }
    device_ = openQuietly();
    if (device_ == nullptr) {
        tellSilence("no sound device");
        return false;
    }
    if (!start()) {
        close();
        tellSilence("the sound device would not play");
        return false;
    }
    canTellLoss_ = alcIsExtensionPresent(device_, "ALC_EXT_disconnect") == ALC_TRUE;
    applyGain();
    return true;
}

// The context, the effects and the sources; false when OpenAL refused any.
bool Sound::start() {
    context_ = alcCreateContext(device_, nullptr);
    if (context_ == nullptr || alcMakeContextCurrent(context_) != ALC_TRUE) {
        return false;
    }
    alGetError();
    // Sources stand round the listener at distance 1 and pan by direction
    // only; nothing in the game comes nearer or goes farther.
    alDistanceModel(AL_NONE);
    makeEffects();
    alGenSources(kSourceCount, sources_);
    for (int effect = 0; effect < kEffectCount; ++effect) {
        for (int i = voicesUpTo(effect); i < voicesUpTo(effect + 1); ++i) {
            alSourcei(sources_[i], AL_SOURCE_RELATIVE, AL_TRUE);
            alSourcei(sources_[i], AL_BUFFER, static_cast<ALint>(buffers_[effect]));
        }
    }
    return alGetError() == AL_NO_ERROR;
}

void Sound::makeEffects() {
    const auto begin = std::chrono::steady_clock::now();
    alGenBuffers(kEffectCount, buffers_);
    for (int i = 0; i < kEffectCount; ++i) {
        const std::vector<std::int16_t> samples = makeEffect(static_cast<Effect>(i));
        alBufferData(buffers_[i], AL_FORMAT_MONO16, samples.data(),
                     static_cast<ALsizei>(samples.size() * sizeof(std::int16_t)), kSoundRate);
    }
    const std::chrono::duration<double, std::milli> spent =
        std::chrono::steady_clock::now() - begin;
    makingMs_ = spent.count();
}

void Sound::close() {
    if (context_ != nullptr) {
        alDeleteSources(kSourceCount, sources_);
        alDeleteBuffers(kEffectCount, buffers_);
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(context_);
        context_ = nullptr;
    }
    if (device_ != nullptr) {
        alcCloseDevice(device_);
        device_ = nullptr;
    }
}

void Sound::setMuted(bool muted) {
    muted_ = muted;
    if (!isOpen()) {
        return;
    }
    if (muted_) {
        alSourceStopv(kSourceCount, sources_);
    }
    applyGain();
}

void Sound::applyGain() {
    const float gain = muted_ ? 0.0f : static_cast<float>(volume_) / kLoudestVolume;
    alListenerf(AL_GAIN, gain);
}

void Sound::play(Effect effect, float pan, float gain) {
    if (!audible()) {
        return;
    }
    const ALuint source = sourceFor(effect);
    const float x = std::fmax(-1.0f, std::fmin(1.0f, pan));
    alSource3f(source, AL_POSITION, x, 0.0f, -std::sqrt(1.0f - x * x));
    alSourcef(source, AL_GAIN, gain);
    alSourcePlay(source);
}

// One of the effect's sources that has finished; else the one started longest ago.
ALuint Sound::sourceFor(Effect effect) {
    const int index = static_cast<int>(effect);
    const int first = voicesUpTo(index);
    for (int i = first; i < voicesUpTo(index + 1); ++i) {
        ALint state = AL_STOPPED;
        alGetSourcei(sources_[i], AL_SOURCE_STATE, &state);
        if (state != AL_PLAYING) {
            return sources_[i];
        }
    }
    const int oldest = first + next_[index];
    next_[index] = (next_[index] + 1) % kVoices[index];
    alSourceStop(sources_[oldest]);
    return sources_[oldest];
}

void Sound::checkDevice() {
    if (!isOpen() || !canTellLoss_) {
        return;
    }
    ALCint connected = ALC_TRUE;
    alcGetIntegerv(device_, ALC_CONNECTED, 1, &connected);
    if (connected == ALC_TRUE) {
        return;
    }
    close();
    tellSilence("the sound device was lost");
}
