// The GIF decoder: frames, timing, loop flag, compositing with each disposal, transparency,
// colour maps, interlace, clipping, and refusal of broken files.
#include "shell/media/Gif.h"

#include "GifTestUtil.h"

#include <gtest/gtest.h>

#include <array>
#include <random>

using shell::media::DecodeGif;
using shell::media::GifAnimation;
using namespace gif_test;

namespace {

using Px = std::array<int, 4>;
constexpr Px kClear{0, 0, 0, 0};
constexpr Px kBlack{0, 0, 0, 255};
constexpr Px kRed{255, 0, 0, 255};
constexpr Px kGreen{0, 255, 0, 255};
constexpr Px kBlue{0, 0, 255, 255};

const std::vector<Rgb> kPalette = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};

Px At(const GifAnimation& a, size_t frame, int x, int y) {
    const uint8_t* p = &a.frames.at(frame).rgba[(static_cast<size_t>(y) * a.width + x) * 4];
    return {p[0], p[1], p[2], p[3]};
}

GifAnimation Decode(const std::vector<uint8_t>& bytes) {
    GifAnimation anim;
    std::string error;
    EXPECT_TRUE(DecodeGif(bytes.data(), bytes.size(), &anim, &error)) << error;
    return anim;
}

// Full red 4x4 frame, then a 2x2 green frame at (1,1) whose disposal is under test, then a
// 1x1 blue frame at (0,0) that shows what the disposal left behind.
GifAnimation ThreeFrames(int disposalOfSecond) {
    GifRecipe recipe{4, 4, kPalette, {}, -1};
    recipe.frames.push_back(Solid(0, 0, 4, 4, 1));
    recipe.frames.push_back(Solid(1, 1, 2, 2, 2));
    recipe.frames.back().disposal = disposalOfSecond;
    recipe.frames.push_back(Solid(0, 0, 1, 1, 3));
    return Decode(BuildGif(recipe));
}

}  // namespace

TEST(GifDecoding, ReadsSizeFramesDelaysAndLoopCount) {
    GifRecipe recipe{3, 2, kPalette, {}, 0};
    recipe.frames.push_back(Solid(0, 0, 3, 2, 1));
    recipe.frames.back().delayCs = 10;
    recipe.frames.push_back(Solid(0, 0, 3, 2, 2));
    recipe.frames.back().delayCs = 200;
    GifAnimation a = Decode(BuildGif(recipe));
    EXPECT_EQ(a.width, 3);
    EXPECT_EQ(a.height, 2);
    ASSERT_EQ(a.frames.size(), 2u);
    EXPECT_EQ(a.frames[0].delayCs, 10);
    EXPECT_EQ(a.frames[1].delayCs, 200);
    EXPECT_EQ(a.frames[0].rgba.size(), 3u * 2u * 4u);
    EXPECT_EQ(At(a, 0, 2, 1), kRed);
    EXPECT_EQ(At(a, 1, 0, 0), kGreen);
    EXPECT_FALSE(a.frames[0].hasTransparency);
    EXPECT_TRUE(a.loops);
    EXPECT_EQ(a.loopCount, 0);

    recipe.loopCount = 3;
    EXPECT_EQ(Decode(BuildGif(recipe)).loopCount, 3);
    recipe.loopCount = -1;
    EXPECT_FALSE(Decode(BuildGif(recipe)).loops);
}

TEST(GifDecoding, DisposalKeepLeavesTheFrameUnderTheNext) {
    for (int disposal : {0, 1}) {
        GifAnimation a = ThreeFrames(disposal);
        ASSERT_EQ(a.frames.size(), 3u);
        EXPECT_EQ(a.frames[1].disposal, disposal);
        EXPECT_EQ(At(a, 1, 0, 0), kRed);
        EXPECT_EQ(At(a, 1, 1, 1), kGreen);
        EXPECT_EQ(At(a, 2, 0, 0), kBlue);
        EXPECT_EQ(At(a, 2, 2, 2), kGreen);
        EXPECT_EQ(At(a, 2, 3, 3), kRed);
    }
}

TEST(GifDecoding, DisposalClearEmptiesOnlyThatFramesRectangle) {
    GifAnimation a = ThreeFrames(2);
    EXPECT_EQ(At(a, 1, 1, 1), kGreen);  // shown while it is the current frame
    EXPECT_EQ(At(a, 2, 1, 1), kClear);
    EXPECT_EQ(At(a, 2, 2, 2), kClear);
    EXPECT_EQ(At(a, 2, 3, 3), kRed);
    EXPECT_EQ(At(a, 2, 0, 0), kBlue);
    EXPECT_TRUE(a.frames[2].hasTransparency);
}

TEST(GifDecoding, DisposalRestoreBringsBackWhatWasThere) {
    GifAnimation a = ThreeFrames(3);
    EXPECT_EQ(At(a, 1, 2, 2), kGreen);
    EXPECT_EQ(At(a, 2, 1, 1), kRed);
    EXPECT_EQ(At(a, 2, 2, 2), kRed);
    EXPECT_EQ(At(a, 2, 0, 0), kBlue);
}

TEST(GifDecoding, TransparentIndexShowsWhatIsBelow) {
    GifRecipe recipe{2, 1, kPalette, {}, -1};
    FrameRecipe first = Solid(0, 0, 2, 1, 0);
    first.pixels = {1, 0};
    first.transparent = 0;  // the first frame's right pixel lies on the empty screen
    recipe.frames.push_back(first);
    FrameRecipe second = Solid(0, 0, 2, 1, 3);
    second.pixels = {3, 2};
    second.transparent = 3;
    recipe.frames.push_back(second);
    GifAnimation a = Decode(BuildGif(recipe));
    EXPECT_EQ(At(a, 0, 0, 0), kRed);
    EXPECT_EQ(At(a, 0, 1, 0), kClear);
    EXPECT_TRUE(a.frames[0].hasTransparency);
    EXPECT_EQ(At(a, 1, 0, 0), kRed);
    EXPECT_EQ(At(a, 1, 1, 0), kGreen);
    EXPECT_FALSE(a.frames[1].hasTransparency);
}

TEST(GifDecoding, LocalMapsInterlaceAndMissingMaps) {
    // An interlaced 1x10 column whose row r holds index r % 4, coloured by a local map.
    GifRecipe recipe{1, 10, kPalette, {}, -1};
    FrameRecipe column = Solid(0, 0, 1, 10, 0);
    for (int r = 0; r < 10; ++r) column.pixels[static_cast<size_t>(r)] = uint8_t(r % 4);
    column.interlace = true;
    column.localMap = {{10, 10, 10}, {20, 20, 20}, {30, 30, 30}, {40, 40, 40}};
    recipe.frames.push_back(column);
    GifAnimation a = Decode(BuildGif(recipe));
    for (int r = 0; r < 10; ++r) {
        int grey = 10 * (r % 4 + 1);
        EXPECT_EQ(At(a, 0, 0, r), (Px{grey, grey, grey, 255})) << "row " << r;
    }
}

namespace {

// A hand-written GIF: 4x4 screen, two-colour map (black, white), one image descriptor.
std::vector<uint8_t> HandMadeGif(int left, int top, int width, int height,
                                 const std::vector<uint8_t>& lzw, bool withMap = true) {
    std::vector<uint8_t> g = {'G', 'I', 'F', '8', '9', 'a', 4, 0, 4, 0, 0x80, 0, 0,
                              0, 0, 0, 255, 255, 255};
    if (!withMap) {
        g[10] = 0;
        g.resize(13);
    }
    auto le = [&](int v) {
        g.push_back(uint8_t(v & 0xff));
        g.push_back(uint8_t(v >> 8));
    };
    g.push_back(0x2c);
    le(left);
    le(top);
    le(width);
    le(height);
    g.push_back(0);
    g.push_back(2);  // LZW minimum code size
    g.push_back(uint8_t(lzw.size()));
    g.insert(g.end(), lzw.begin(), lzw.end());
    g.push_back(0);
    g.push_back(0x3b);
    return g;
}

}  // namespace

TEST(GifDecoding, ClippedFramesEmptyFramesAndFilesWithoutColourMaps) {
    // 3-bit codes: clear (4), then 1, 1, 1, 1 as literals, end (5). Packed LSB first.
    std::vector<uint8_t> codes = {4, 1, 1, 1, 1, 5};
    std::vector<uint8_t> lzw;
    unsigned bits = 0, count = 0;
    for (uint8_t c : codes) {
        bits |= unsigned(c) << count;
        count += 3;
        while (count >= 8) {
            lzw.push_back(uint8_t(bits & 0xff));
            bits >>= 8;
            count -= 8;
        }
    }
    if (count) lzw.push_back(uint8_t(bits));
    // A 2x2 white square at (3,3): only its top-left pixel is on the screen.
    std::vector<uint8_t> bytes = HandMadeGif(3, 3, 2, 2, lzw);
    GifAnimation a = Decode(bytes);
    ASSERT_EQ(a.frames.size(), 1u);
    EXPECT_EQ(At(a, 0, 3, 3), (Px{255, 255, 255, 255}));
    EXPECT_EQ(At(a, 0, 2, 3), kClear);

    // Far outside the screen altogether.
    GifAnimation far = Decode(HandMadeGif(60000, 60000, 2, 2, lzw));
    EXPECT_EQ(At(far, 0, 3, 3), kClear);

    // No colour map anywhere: drawn as a grey ramp rather than refused.
    GifAnimation bare = Decode(HandMadeGif(0, 0, 2, 2, lzw, false));
    EXPECT_EQ(At(bare, 0, 1, 1), (Px{1, 1, 1, 255}));

    // A zero-size image (clear, end) still counts as a frame.
    GifAnimation empty = Decode(HandMadeGif(0, 0, 0, 0, {0x2c}));
    ASSERT_EQ(empty.frames.size(), 1u);
    EXPECT_TRUE(empty.frames[0].hasTransparency);
}

TEST(GifDecoding, EveryTruncationIsRefusedWithAMessage) {
    GifRecipe recipe{8, 8, kPalette, {}, 0};
    recipe.frames.push_back(Solid(0, 0, 8, 8, 1));
    recipe.frames.push_back(Solid(2, 2, 4, 4, 2));
    std::vector<uint8_t> bytes = BuildGif(recipe);
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        GifAnimation a;
        std::string error;
        EXPECT_FALSE(DecodeGif(bytes.data(), cut, &a, &error)) << "cut at " << cut;
        EXPECT_FALSE(error.empty()) << "cut at " << cut;
        EXPECT_TRUE(a.frames.empty());
    }
    std::string error;
    GifAnimation a;
    EXPECT_FALSE(DecodeGif(bytes.data(), 20, &a, &error));
    EXPECT_NE(error.find("truncated"), std::string::npos) << error;
}

TEST(GifDecoding, GarbageIsRefusedWithoutCrashing) {
    std::mt19937 random(1234);
    GifRecipe recipe{8, 8, kPalette, {Solid(0, 0, 8, 8, 1)}, 0};
    std::vector<uint8_t> valid = BuildGif(recipe);
    std::string error;
    GifAnimation a;
    EXPECT_FALSE(DecodeGif(nullptr, 0, &a, &error));
    EXPECT_FALSE(error.empty());
    for (int trial = 0; trial < 500; ++trial) {
        std::vector<uint8_t> bytes;
        if (trial % 2 == 0) {
            bytes.resize(random() % 200);
            for (auto& b : bytes) b = uint8_t(random());
        } else {
            // A valid file with a few bytes flipped: may or may not decode, must not crash.
            bytes = valid;
            for (int i = 0; i < 3; ++i) bytes[random() % bytes.size()] = uint8_t(random());
        }
        error.clear();
        if (!DecodeGif(bytes.data(), bytes.size(), &a, &error)) {
            EXPECT_FALSE(error.empty());
        } else {
            for (const auto& f : a.frames) {
                EXPECT_EQ(f.rgba.size(), size_t(a.width) * a.height * 4);
            }
        }
    }
}
