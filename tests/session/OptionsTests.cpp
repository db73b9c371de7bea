// The command line: values spaced or joined, bad values and unknown options refused.
#include <gtest/gtest.h>

#include "shell/session/Options.h"

namespace {

TEST(CommandLine, OptionsTakeValuesSpacedOrJoined) {
    const char* argv[] = {"spherolette", "--headless", "--seed=42", "--scale", "3",
                          "--script", "s.txt", "--screenshot=out.png", "--trace",
                          "--report-first-frame", "--library", "lib.so", "--settings", "x"};
    shell::Options o;
    std::string error;
    ASSERT_TRUE(shell::ParseOptions(14, const_cast<char**>(argv), &o, &error)) << error;
    EXPECT_TRUE(o.headless && o.trace && o.reportFirstFrame);
    EXPECT_EQ(o.seed, 42u);
    EXPECT_EQ(o.scale, 3);
    EXPECT_EQ(o.script, "s.txt");
    EXPECT_EQ(o.screenshot, "out.png");
    EXPECT_EQ(o.library, "lib.so");
    EXPECT_EQ(o.settings, "x");
}

TEST(CommandLine, BadValuesAndUnknownOptionsAreRefused) {
    for (std::vector<const char*> args : std::vector<std::vector<const char*>>{
             {"spherolette", "--scale", "0"},
             {"spherolette", "--scale", "-2"},
             {"spherolette", "--seed", "12ab"},
             {"spherolette", "--seed"},
             {"spherolette", "--script", "s.txt"},  // a script needs --headless
             {"spherolette", "--fullscreen"}}) {
        shell::Options o;
        std::string error;
        EXPECT_FALSE(shell::ParseOptions(static_cast<int>(args.size()),
                                         const_cast<char**>(args.data()), &o, &error))
            << args[1];
        EXPECT_FALSE(error.empty());
    }
}

}  // namespace
