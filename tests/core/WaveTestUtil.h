// Test sounds: RIFF WAVE files built in memory.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

namespace shell_test {

// A RIFF WAVE file of PCM samples: `bits` 8 (unsigned) or 16 (signed, little-endian),
// `channels` interleaved, at `rate` samples per second.
inline std::vector<unsigned char> Wave(const std::vector<uint8_t>& data, int bits = 8,
                                       int channels = 1, int rate = 11025) {
    const uint32_t n = static_cast<uint32_t>(data.size());
    std::vector<unsigned char> w(44 + data.size());
    auto put = [&](size_t at, uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) w[at + i] = static_cast<unsigned char>(v >> (8 * i));
    };
    const uint32_t block = static_cast<uint32_t>(channels * bits / 8);
    std::memcpy(&w[0], "RIFF", 4);
    put(4, 36 + n, 4);
    std::memcpy(&w[8], "WAVEfmt ", 8);
    put(16, 16, 4);
    put(20, 1, 2);  // PCM
    put(22, static_cast<uint32_t>(channels), 2);
    put(24, static_cast<uint32_t>(rate), 4);
    put(28, static_cast<uint32_t>(rate) * block, 4);
    put(32, block, 2);
    put(34, static_cast<uint32_t>(bits), 2);
    std::memcpy(&w[36], "data", 4);
    put(40, n, 4);
    std::copy(data.begin(), data.end(), w.begin() + 44);
    return w;
}

// 8-bit unsigned mono at 11025 samples per second, as the game ships its sounds.
inline std::vector<unsigned char> Wave8(const std::vector<uint8_t>& samples) { return Wave(samples); }

}  // namespace shell_test
