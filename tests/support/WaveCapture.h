#pragma once
// OpenAL Soft's wave backend as the sound device, so that what the game plays
// can be read back: the backend mixes in real time into a WAV file, 16-bit
// stereo at 22050 Hz without dither, so that silence is exact zeros and a
// sample's place in the file is the device's time when it was mixed.
// OpenAL reads its configuration once per process: call useWaveOutput before
// anything opens a device. The benchmarks use it to hear into /dev/null.
#include <cstdint>
#include <string>
#include <vector>

class WaveCapture {
public:
    // Writes a configuration of this process's own, for the wave backend to
    // write `file`, and points OpenAL at it, over
    // any the environment names; false when it could not be written.
    static bool useWaveOutput(const std::string& file);
    // A capture file of this process's own, so that tests may run side by side.
    static std::string processFile();
    // The clock of the device of the current context: ms of sound mixed.
    static double deviceMs();

    // Reads what the last device wrote, once it is closed; false when the
    // file holds no samples.
    bool read(const std::string& file);
    // The loudest sample in [fromMs, toMs) of the channel (0 left, 1 right)
    // or of either.
    int peakBetween(double fromMs, double toMs, int channel = -1) const;

    std::vector<std::int16_t> samples;  // left and right in turn
};
