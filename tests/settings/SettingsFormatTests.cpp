// The settings text format: every byte round-trips, and anything that is not a settings file is
// told apart.
#include "shell/settings/SettingsFormat.h"

#include <gtest/gtest.h>

#include <random>

using shell::ParseSettings;
using shell::SerializeSettings;
using shell::SettingsMap;

namespace {

std::string RandomText(std::mt19937& random, size_t maxLength) {
    std::string text(random() % (maxLength + 1), ' ');
    for (char& c : text) c = static_cast<char>(1 + random() % 255);
    return text;
}

}  // namespace

TEST(SettingsFormat, EveryNonNulByteRoundTripsInKeysAndValues) {
    SettingsMap values;
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    values[all] = all;
    values["a=b"] = "=c=\\n\r\n";
    values[""] = "";
    values["\\"] = "\\";
    values["trailing space "] = " leading space";
    values["# looks like a comment"] = "x";
    std::mt19937 random(42);
    for (int i = 0; i < 200; ++i) values[RandomText(random, 40)] = RandomText(random, 300);

    std::string text = SerializeSettings(values);
    SettingsMap back;
    std::string error;
    ASSERT_TRUE(ParseSettings(text, &back, &error)) << error;
    EXPECT_EQ(back, values);
}

TEST(SettingsFormat, AcceptsEmptyTextWindowsLineEndsAndAMissingFinalNewline) {
    SettingsMap out{{"stale", "x"}};
    std::string error;
    EXPECT_TRUE(ParseSettings("", &out, &error));
    EXPECT_TRUE(out.empty());

    EXPECT_TRUE(ParseSettings("# spherolette settings 1\r\nA=1\r\n\nB=2=3", &out, &error))
        << error;
    EXPECT_EQ(out, (SettingsMap{{"A", "1"}, {"B", "2=3"}}));

    EXPECT_TRUE(ParseSettings("# spherolette settings 1\nA=1\nA=2\n", &out, &error));
    EXPECT_EQ(out.at("A"), "2");
}

TEST(SettingsFormat, RefusesTextThatIsNotASettingsFile) {
    const std::string header = "# spherolette settings 1\n";
    const std::string bad[] = {
        "A=1\n",                                   // no header
        "# spherolette settings 2\nA=1\n",         // a format this build does not know
        header + "no equals sign\n",
        header + "A=bad \\q escape\n",
        header + "A=ends in backslash\\\n",
        header + "A=raw \r inside\n",
        header + std::string("A=nul\0here\n", 12),
        header + "A=" + std::string(shell::kSettingsMaxLineBytes, 'x') + "\n",
        header + std::string(shell::kSettingsMaxFileBytes, '\n'),
    };
    for (const std::string& text : bad) {
        SettingsMap out{{"stale", "x"}};
        std::string error;
        EXPECT_FALSE(ParseSettings(text, &out, &error)) << text.substr(0, 40);
        EXPECT_FALSE(error.empty());
        EXPECT_TRUE(out.empty());
    }
}

TEST(SettingsFormat, RandomBytesNeverCrashTheParser) {
    std::mt19937 random(9);
    for (int trial = 0; trial < 2000; ++trial) {
        std::string text = trial % 2 ? "# spherolette settings 1\n" : "";
        text.resize(text.size() + random() % 300);
        for (size_t i = trial % 2 ? 25 : 0; i < text.size(); ++i) text[i] = char(random() % 256);
        SettingsMap out;
        std::string error;
        if (!ParseSettings(text, &out, &error)) {
            EXPECT_FALSE(error.empty());
        }
    }
}
