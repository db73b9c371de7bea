// RIFF WAVE files of PCM samples, as the game's sounds are kept: 8-bit unsigned or 16-bit
// signed, mono or stereo. Decoded to 16-bit mono, and resampled to the rate the output wants.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace shell {

struct WaveSound {
    int rate = 0;                  // samples per second
    std::vector<int16_t> samples;  // mono (stereo files are mixed down)
};

// Where a WAVE file's samples are and how they are laid out, read without decoding them.
struct WaveFormat {
    int rate = 0;
    int channels = 0;
    int bits = 0;
    const uint8_t* samples = nullptr;
    size_t sampleBytes = 0;
};

// False, with the reason in *error, for anything but a whole PCM WAVE file of 8 or 16 bits,
// one or two channels, at 1 to 384000 samples per second. ReadWaveFormat checks exactly what
// DecodeWave does, so a file it accepts always decodes.
bool ReadWaveFormat(const uint8_t* data, size_t size, WaveFormat* out, std::string* error);
bool DecodeWave(const uint8_t* data, size_t size, WaveSound* out, std::string* error);

// `samples` at `from` samples per second, at `to` (linear interpolation).
std::vector<int16_t> Resample(const std::vector<int16_t>& samples, int from, int to);

}  // namespace shell
