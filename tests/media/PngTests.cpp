// PNG encoding and decoding: pixels survive a round trip, bad input is refused.
#include "shell/media/Png.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <random>

using namespace shell::media;

TEST(Png, PixelsIncludingAlphaSurviveMemoryAndFileRoundTrips) {
    const int w = 7, h = 5;
    std::vector<uint8_t> rgba(w * h * 4);
    std::mt19937 random(7);
    for (auto& b : rgba) b = uint8_t(random());

    std::vector<uint8_t> png;
    std::string error;
    ASSERT_TRUE(EncodePng(w, h, rgba.data(), &png, &error)) << error;
    int rw = 0, rh = 0;
    std::vector<uint8_t> back;
    ASSERT_TRUE(DecodePng(png.data(), png.size(), &rw, &rh, &back, &error)) << error;
    EXPECT_EQ(rw, w);
    EXPECT_EQ(rh, h);
    EXPECT_EQ(back, rgba);

    auto path = std::filesystem::temp_directory_path() /
                ("png-test-" + std::to_string(::getpid()) + ".png");
    ASSERT_TRUE(WritePng(path.string(), w, h, rgba.data(), &error)) << error;
    back.clear();
    ASSERT_TRUE(ReadPng(path.string(), &rw, &rh, &back, &error)) << error;
    EXPECT_EQ(back, rgba);
    std::filesystem::remove(path);
}

TEST(Png, BadInputIsRefusedWithAMessage) {
    std::string error;
    std::vector<uint8_t> out;
    uint8_t pixel[4] = {1, 2, 3, 4};
    EXPECT_FALSE(EncodePng(0, 1, pixel, &out, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(EncodePng(1, 1, nullptr, &out, &error));

    ASSERT_TRUE(EncodePng(1, 1, pixel, &out, &error));
    int w = 0, h = 0;
    std::vector<uint8_t> back;
    for (size_t cut : {size_t(0), size_t(8), out.size() / 2, out.size() - 13}) {
        error.clear();
        EXPECT_FALSE(DecodePng(out.data(), cut, &w, &h, &back, &error)) << cut;
        EXPECT_FALSE(error.empty());
    }
    EXPECT_FALSE(ReadPng("/nonexistent/dir/x.png", &w, &h, &back, &error));
    EXPECT_FALSE(WritePng("/nonexistent/dir/x.png", 1, 1, pixel, &error));
}
