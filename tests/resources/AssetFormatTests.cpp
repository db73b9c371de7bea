// Pictures and sounds as the shell reads them: sizes, frames, timing, looping, transparency
// and disposal of every picture, through the shell's own GIF decoder; format, length and
// level of every sound.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "Embedded.h"
#include "shell/media/Gif.h"

namespace {

using resources_test::Embedded;

constexpr int kKeep = 1, kClear = 2;  // GIF disposal: leave in place, clear to background

struct ExpectedPicture {
    std::string name;
    int width, height;
    std::vector<int> delays;     // per frame, hundredths of a second
    bool loops;
    bool transparent;
    std::vector<int> disposals;  // per frame; empty when the look does not depend on it
};

std::vector<int> Repeat(int value, int count) { return std::vector<int>(size_t(count), value); }

std::vector<int> SamplerDelays() {
    std::vector<int> d = Repeat(20, 24);
    for (int frame : {5, 8, 13, 16, 19}) d[size_t(frame - 1)] = 50;
    d[23] = 200;
    return d;
}

std::vector<ExpectedPicture> Pictures() {
    std::vector<ExpectedPicture> expectations;
    for (int kind = 0; kind < 8; ++kind) {
        expectations.push_back({"p-img-Bubble" + std::to_string(kind) + ".gif", 32, 32, Repeat(10, 8), true, true, {}});
        expectations.push_back({"P-IMG-BUBBLESYM" + std::to_string(kind) + ".GIF", 32, 32, Repeat(10, 8), true, true, {}});
    }
    std::vector<int> spawnDisposal = Repeat(kClear, 7);
    spawnDisposal.back() = kKeep;
    expectations.push_back({"p-img-Bubble8.gif", 32, 32, Repeat(14, 7), true, true, spawnDisposal});
    std::vector<int> popDelays = Repeat(10, 13);
    popDelays.back() = 8;
    expectations.push_back({"p-img-Bubble9.gif", 32, 32, popDelays, true, true, Repeat(kClear, 13)});
    expectations.push_back({"P-IMG-BUBBLEBG", 36, 36, Repeat(0, 2), false, false, {}});
    expectations.push_back({"p-mini-bubble.gif", 10, 10, Repeat(0, 1), false, true, {}});
    expectations.push_back({"p-mini-sampler.gif", 80, 80, SamplerDelays(), true, true, {}});
    expectations.push_back({"CheckBox.gif", 20, 19, Repeat(0, 2), false, true, {kKeep, kKeep}});
    expectations.push_back({"p-img-logo-big", 276, 122, Repeat(0, 1), false, true, {}});
    expectations.push_back({"P-IMG-GAMELOGO.GIF", 80, 60, Repeat(0, 1), false, false, {}});
    return expectations;
}

TEST(Pictures, DecodeWithTheSizeFramesTimingLoopingTransparencyAndDisposalOfTheTable) {
    for (const ExpectedPicture& expected : Pictures()) {
        SCOPED_TRACE(expected.name);
        const std::vector<uint8_t> bytes = Embedded(expected.name);
        ASSERT_GE(bytes.size(), 6u);
        EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 6), "GIF89a");
        shell::media::GifAnimation gif;
        std::string error;
        ASSERT_TRUE(shell::media::DecodeGif(bytes.data(), bytes.size(), &gif, &error)) << error;
        EXPECT_EQ(gif.width, expected.width);
        EXPECT_EQ(gif.height, expected.height);
        EXPECT_EQ(gif.loops, expected.loops);
        if (expected.loops) {
            EXPECT_EQ(gif.loopCount, 0);
        }
        ASSERT_EQ(gif.frames.size(), expected.delays.size());
        for (size_t f = 0; f < gif.frames.size(); ++f) {
            SCOPED_TRACE("frame " + std::to_string(f));
            EXPECT_EQ(gif.frames[f].delayCs, expected.delays[f]);
            EXPECT_EQ(gif.frames[f].hasTransparency, expected.transparent);
            if (!expected.disposals.empty()) {
                EXPECT_EQ(gif.frames[f].disposal, expected.disposals[f]);
            }
        }
    }
}

// Opaque pixels of a decoded frame.
size_t OpaqueCount(const shell::media::GifFrame& frame) {
    size_t n = 0;
    for (size_t i = 3; i < frame.rgba.size(); i += 4) n += frame.rgba[i] == 255;
    return n;
}

TEST(Pictures, TheCheckBoxTickIsDrawnOverTheBoxAndBubblesFillTheirSquare) {
    shell::media::GifAnimation box, bubble;
    const std::vector<uint8_t> boxBytes = Embedded("CheckBox.gif");
    const std::vector<uint8_t> bubbleBytes = Embedded("p-img-Bubble0.gif");
    ASSERT_TRUE(shell::media::DecodeGif(boxBytes.data(), boxBytes.size(), &box, nullptr));
    ASSERT_TRUE(shell::media::DecodeGif(bubbleBytes.data(), bubbleBytes.size(), &bubble, nullptr));
    // Frame 1 keeps every pixel of the empty box and adds the tick.
    ASSERT_EQ(box.frames.size(), 2u);
    const auto& unchecked = box.frames[0].rgba;
    const auto& checked = box.frames[1].rgba;
    size_t kept = 0, boxPixels = 0;
    for (size_t i = 3; i < unchecked.size(); i += 4) {
        if (unchecked[i] != 255) continue;
        ++boxPixels;
        kept += checked[i] == 255;
    }
    EXPECT_EQ(kept, boxPixels);
    EXPECT_GT(OpaqueCount(box.frames[1]), boxPixels);
    // A bubble is a disc all but touching the sides of its 32 x 32 square, corners clear.
    for (const auto& frame : bubble.frames) {
        EXPECT_NEAR(double(OpaqueCount(frame)), M_PI * 15.5 * 15.5, 30);
        EXPECT_EQ(frame.rgba[3], 0);
    }
}

shell::media::GifAnimation Decoded(const std::string& name) {
    const std::vector<uint8_t> bytes = Embedded(name);
    shell::media::GifAnimation gif;
    EXPECT_TRUE(shell::media::DecodeGif(bytes.data(), bytes.size(), &gif, nullptr)) << name;
    return gif;
}

TEST(Pictures, ThePopHidesTheClearedBubbleBeneathItWhileItIsShown) {
    // The pop lies over the cleared bubble for 1200 ms: frames 1 to 12 are seen.
    const shell::media::GifAnimation pop = Decoded("p-img-Bubble9.gif");
    ASSERT_EQ(pop.frames.size(), 13u);
    for (int kind = 0; kind < 8; ++kind) {
        const shell::media::GifAnimation bubble = Decoded("p-img-Bubble" + std::to_string(kind) + ".gif");
        for (const auto& under : bubble.frames) {
            for (size_t f = 0; f < 12; ++f) {
                for (size_t i = 3; i < under.rgba.size(); i += 4) {
                    if (under.rgba[i] != 0) {
                        ASSERT_EQ(pop.frames[f].rgba[i], 255) << "kind " << kind << ", pop frame " << f
                                                              << ", pixel " << i / 4;
                    }
                }
            }
        }
    }
}

TEST(Pictures, TheFreeMoveTileLooksDifferentFromThePlainOne) {
    const shell::media::GifAnimation tiles = Decoded("P-IMG-BUBBLEBG");
    ASSERT_EQ(tiles.frames.size(), 2u);
    size_t differing = 0;
    for (size_t i = 0; i < tiles.frames[0].rgba.size(); i += 4) {
        int distance = 0;
        for (size_t c = 0; c < 3; ++c) distance += std::abs(tiles.frames[0].rgba[i + c] - tiles.frames[1].rgba[i + c]);
        differing += distance > 60;
    }
    EXPECT_GT(differing, size_t(36 * 36 / 5));  // a fifth of the tile at least, clearly changed
}

struct SoundSpec {
    std::string name;
    int bits;
    double seconds;
};

uint32_t Le(const std::vector<uint8_t>& b, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | b[at + size_t(i)];
    return v;
}

TEST(Sounds, AreMonoPcmAt11025WithTheBitsAndLengthOfTheTableCentredAndUnclipped) {
    const SoundSpec expectations[] = {
        {"p-NewGame.wav", 8, 1.43},  {"p-LevelWin.wav", 8, 0.50}, {"p-BubbleDisappear.wav", 8, 0.46},
        {"p-DropBubble.wav", 8, 0.11}, {"p-FreeMove.wav", 8, 0.96}, {"p-FadeIn.wav", 8, 0.60},
        {"p-GameOver.wav", 8, 1.76}, {"p-HighScore.wav", 8, 1.70}, {"p-LevelLose.wav", 16, 0.54},
    };
    for (const SoundSpec& expected : expectations) {
        SCOPED_TRACE(expected.name);
        const std::vector<uint8_t> b = Embedded(expected.name);
        ASSERT_GE(b.size(), 44u);
        EXPECT_EQ(std::memcmp(b.data(), "RIFF", 4), 0);
        EXPECT_EQ(Le(b, 4, 4), b.size() - 8);
        EXPECT_EQ(std::memcmp(b.data() + 8, "WAVEfmt ", 8), 0);
        EXPECT_EQ(Le(b, 16, 4), 16u);
        EXPECT_EQ(Le(b, 20, 2), 1u);  // PCM
        EXPECT_EQ(Le(b, 22, 2), 1u);  // one channel
        EXPECT_EQ(Le(b, 24, 4), 11025u);
        const uint32_t bytesPerSample = uint32_t(expected.bits / 8);
        EXPECT_EQ(Le(b, 28, 4), 11025u * bytesPerSample);
        EXPECT_EQ(Le(b, 32, 2), bytesPerSample);
        EXPECT_EQ(Le(b, 34, 2), uint32_t(expected.bits));
        ASSERT_EQ(std::memcmp(b.data() + 36, "data", 4), 0);
        const uint32_t dataSize = Le(b, 40, 4);
        ASSERT_LE(44u + dataSize, b.size());
        const size_t count = dataSize / bytesPerSample;
        EXPECT_NEAR(double(count) / 11025, expected.seconds, 0.01);

        // Samples as -1..1: no offset, no clipping, silence at both ends, and audible.
        std::vector<double> s;
        for (size_t i = 0; i < count; ++i) {
            s.push_back(expected.bits == 8 ? (b[44 + i] - 128) / 128.0
                                       : int16_t(Le(b, 44 + 2 * i, 2)) / 32768.0);
        }
        double sum = 0, peak = 0;
        for (double v : s) {
            sum += v;
            peak = std::max(peak, std::fabs(v));
        }
        EXPECT_LT(std::fabs(sum / double(count)), 0.01) << "offset";
        EXPECT_LT(peak, 0.98) << "clipped";
        EXPECT_GT(peak, 0.3) << "too quiet";
        // Starts and ends in silence, so playing it neither clicks in nor cuts off.
        EXPECT_LT(std::fabs(s.front()), 0.02);
        EXPECT_LT(std::fabs(s.back()), 0.02);
    }
}

}  // namespace
