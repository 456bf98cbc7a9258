#include "support/WaveCapture.h"

#include <unistd.h>

#include <AL/alc.h>
#include <AL/alext.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

namespace {

constexpr int kRate = 22050;
constexpr int kChannels = 2;

long frameAt(double ms) {
    return std::max(0L, std::lround(ms * kRate / 1000));
}

}  // namespace

bool WaveCapture::useWaveOutput(const std::string& file) {
    unsetenv("ALSOFT_DRIVERS");
    const std::string conf = processFile() + ".conf";
    std::ofstream out(conf);
    out << "[general]\ndrivers=wave\nchannels=stereo\nsample-type=int16\nfrequency=" << kRate
        << "\ndither=false\n[wave]\nfile=" << file << '\n';
    out.close();
    return out && setenv("ALSOFT_CONF", conf.c_str(), 1) == 0;
}

std::string WaveCapture::processFile() {
    return "/tmp/karvossa-sound-" + std::to_string(getpid()) + ".wav";
}

double WaveCapture::deviceMs() {
    ALCdevice* device = alcGetContextsDevice(alcGetCurrentContext());
    auto clock =
        reinterpret_cast<LPALCGETINTEGER64VSOFT>(alcGetProcAddress(device, "alcGetInteger64vSOFT"));
    if (device == nullptr || clock == nullptr) {
        return -1;
    }
    ALCint64SOFT nanoseconds = 0;
    clock(device, ALC_DEVICE_CLOCK_SOFT, 1, &nanoseconds);
    return static_cast<double>(nanoseconds) / 1e6;
}

// The header's sizes are written only when the device closes well; the data
// chunk is taken to run to the end of the file, as it does.
bool WaveCapture::read(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t data = bytes.find("data");
    samples.clear();
    if (data == std::string::npos) {
        return false;
    }
    samples.resize((bytes.size() - data - 8) / sizeof(std::int16_t));
    std::memcpy(samples.data(), bytes.data() + data + 8, samples.size() * sizeof(std::int16_t));
    return !samples.empty();
}

int WaveCapture::peakBetween(double fromMs, double toMs, int channel) const {
    const long frames = static_cast<long>(samples.size()) / kChannels;
    int peak = 0;
    for (long f = frameAt(fromMs); f < std::min(frames, frameAt(toMs)); ++f) {
        for (int c = 0; c < kChannels; ++c) {
            if (channel < 0 || c == channel) {
                peak = std::max(peak, std::abs(static_cast<int>(samples[f * kChannels + c])));
            }
        }
    }
    return peak;
}
