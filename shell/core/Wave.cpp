// WAVE decoding: walks the RIFF chunks, takes the format and the data, ignores the rest.
#include "shell/core/Wave.h"

#include <algorithm>
#include <cstring>

namespace shell {

namespace {
uint32_t Le32(const uint8_t* p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}
uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
constexpr int kMaxRate = 384000;
}  // namespace

bool ReadWaveFormat(const uint8_t* data, size_t size, WaveFormat* out, std::string* error) {
    if (data == nullptr || size < 12 || std::memcmp(data, "RIFF", 4) != 0 ||
        std::memcmp(data + 8, "WAVE", 4) != 0) {
        *error = "not a RIFF WAVE file";
        return false;
    }
    int channels = 0, bits = 0, rate = 0;
    const uint8_t* samples = nullptr;
    size_t sampleBytes = 0;
    size_t at = 12;
    while (at + 8 <= size) {
        const uint8_t* chunk = data + at;
        const size_t length = Le32(chunk + 4);
        const size_t room = size - at - 8;
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (length < 16 || length > room) {
                *error = "damaged format chunk";
                return false;
            }
            if (Le16(chunk + 8) != 1) {
                *error = "not PCM samples";
                return false;
            }
            channels = Le16(chunk + 10);
            rate = static_cast<int>(std::min<uint32_t>(Le32(chunk + 12), kMaxRate + 1));
            bits = Le16(chunk + 22);
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            samples = chunk + 8;
            sampleBytes = std::min(length, room);  // a file cut short keeps what it has
            break;
        }
        if (length > room) break;
        at += 8 + length + (length & 1);  // chunks are padded to an even length
    }
    if (channels < 1 || channels > 2 || (bits != 8 && bits != 16) || rate < 1 || rate > kMaxRate) {
        *error = "unsupported format (" + std::to_string(channels) + " channels, " +
                 std::to_string(bits) + " bits, " + std::to_string(rate) + " Hz)";
        return false;
    }
    if (samples == nullptr) {
        *error = "no samples";
        return false;
    }
    out->rate = rate;
    out->channels = channels;
    out->bits = bits;
    out->samples = samples;
    out->sampleBytes = sampleBytes;
    return true;
}

bool DecodeWave(const uint8_t* data, size_t size, WaveSound* out, std::string* error) {
    WaveFormat format;
    if (!ReadWaveFormat(data, size, &format, error)) return false;
    const int channels = format.channels, bits = format.bits;
    const uint8_t* samples = format.samples;
    const size_t frameBytes = static_cast<size_t>(channels) * static_cast<size_t>(bits / 8);
    const size_t frames = format.sampleBytes / frameBytes;
    out->rate = format.rate;
    out->samples.resize(frames);
    for (size_t f = 0; f < frames; ++f) {
        int32_t sum = 0;
        for (int c = 0; c < channels; ++c) {
            const uint8_t* p = samples + f * frameBytes + static_cast<size_t>(c) * (bits / 8);
            sum += bits == 8 ? (static_cast<int32_t>(p[0]) - 128) * 256
                             : static_cast<int16_t>(Le16(p));
        }
        out->samples[f] = static_cast<int16_t>(sum / channels);
    }
    return true;
}

std::vector<int16_t> Resample(const std::vector<int16_t>& samples, int from, int to) {
    if (from <= 0 || to <= 0 || from == to || samples.empty()) return samples;
    const size_t count = static_cast<size_t>(
        (static_cast<uint64_t>(samples.size()) * static_cast<uint64_t>(to) + from - 1) / from);
    std::vector<int16_t> out(count);
    for (size_t i = 0; i < count; ++i) {
        // Position in the source, in 1/65536 of a sample.
        const uint64_t pos = (static_cast<uint64_t>(i) * static_cast<uint64_t>(from) << 16) /
                             static_cast<uint64_t>(to);
        const size_t k = static_cast<size_t>(pos >> 16);
        const int64_t frac = static_cast<int64_t>(pos & 0xFFFF);
        const int64_t a = samples[std::min(k, samples.size() - 1)];
        const int64_t b = samples[std::min(k + 1, samples.size() - 1)];
        out[i] = static_cast<int16_t>(a + ((b - a) * frac) / 65536);
    }
    return out;
}

}  // namespace shell
