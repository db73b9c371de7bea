// The window's icon is the square application icon the desktop shows, not the game's badge.
#include <gtest/gtest.h>

#include <vector>

#include "shell/media/Png.h"

extern const unsigned char kWindowIconPng[];
extern const unsigned long kWindowIconPng_size;

namespace {

TEST(WindowIcon, IsTheSquareApplicationIcon) {
    int width = 0, height = 0;
    std::vector<uint8_t> rgba;
    std::string error;
    ASSERT_TRUE(shell::media::DecodePng(kWindowIconPng, kWindowIconPng_size, &width, &height,
                                        &rgba, &error))
        << error;
    EXPECT_EQ(width, height);
    EXPECT_GE(width, 48);
    // Drawn, not blank: many opaque pixels, and clear corners around a round shape.
    size_t opaque = 0;
    for (size_t i = 3; i < rgba.size(); i += 4) opaque += rgba[i] == 255 ? 1 : 0;
    EXPECT_GT(opaque, rgba.size() / 4 / 3);
}

}  // namespace
