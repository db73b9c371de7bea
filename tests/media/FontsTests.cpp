// Font lookup: "Arial" must give the metric-compatible family with real styled files.
#include "shell/media/Fonts.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

using shell::media::FindFont;

TEST(Fonts, ArialGivesLiberationSansWithFourRealStyleFiles) {
    std::set<std::string> files;
    for (int style = 0; style < 4; ++style) {
        bool bold = style & 1, italic = style & 2;
        auto match = FindFont("Arial", bold, italic);
        ASSERT_TRUE(match.has_value());
        EXPECT_EQ(match->family, "Liberation Sans");
        EXPECT_TRUE(match->metricCompatible);
        EXPECT_EQ(match->bold, bold) << match->file;
        EXPECT_EQ(match->italic, italic) << match->file;
        EXPECT_TRUE(std::filesystem::exists(match->file)) << match->file;
        files.insert(match->file);
    }
    EXPECT_EQ(files.size(), 4u);
}

TEST(Fonts, AnUnknownFaceFallsBackAndSaysItIsNotMetricCompatible) {
    auto match = FindFont("No Such Face Anywhere", false, false);
    ASSERT_TRUE(match.has_value());
    EXPECT_FALSE(match->file.empty());
    EXPECT_FALSE(match->metricCompatible) << match->family;
}
