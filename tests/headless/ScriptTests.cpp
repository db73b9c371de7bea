// Headless input scripts: every command with its arguments, and bad lines refused by number.
#include <gtest/gtest.h>

#include "shell/headless/Script.h"

namespace {

TEST(Scripts, EveryCommandParsesWithItsArguments) {
    std::vector<shell::ScriptCommand> commands;
    std::string error;
    ASSERT_TRUE(shell::ParseScript(
        "# comment\n\n  press 1 2\r\nmove -3 4\nrelease 5 6\nclick 7 8\ndrag 1 2 3 4\n"
        "key Hello world\nhelp\nwait 250\nanswer 1\ninput  two words\ninput\n"
        "screenshot /tmp/a b.png\nscreenshot-help h.png\nquit\n",
        &commands, &error))
        << error;
    using Kind = shell::ScriptCommand::Kind;
    ASSERT_EQ(commands.size(), 14u);
    EXPECT_EQ(commands[0].kind, Kind::Press);
    EXPECT_EQ(commands[0].args[1], 2);
    EXPECT_EQ(commands[0].line, 3);
    EXPECT_EQ(commands[1].args[0], -3);
    EXPECT_EQ(commands[4].kind, Kind::Drag);
    EXPECT_EQ(commands[4].args[3], 4);
    EXPECT_EQ(commands[5].text, "Hello world");
    EXPECT_EQ(commands[7].args[0], 250);
    EXPECT_EQ(commands[9].text, " two words");  // everything after the one separating space
    EXPECT_EQ(commands[10].text, "");           // an empty name is a fine answer
    EXPECT_EQ(commands[11].text, "/tmp/a b.png");
    EXPECT_EQ(commands[13].kind, Kind::Quit);
}

TEST(Scripts, BadLinesAreRefusedWithTheirNumber) {
    const std::pair<const char*, const char*> bad[] = {
        {"press 1\n", "line 1: press takes 2 whole numbers"},
        {"wait 1\nclick 1 2 3\n", "line 2: click takes 2 whole numbers"},
        {"move x y\n", "line 1: move takes 2 whole numbers"},
        {"wait -5\n", "line 1: wait takes a time that is not negative"},
        {"wait 99999999999\n", "line 1: wait takes 1 whole numbers"},
        {"key\n", "line 1: key needs a text"},
        {"screenshot\n", "line 1: screenshot needs a text"},
        {"Press 1 2\n", "line 1: unknown command \"Press\""},
    };
    for (const auto& [text, message] : bad) {
        std::vector<shell::ScriptCommand> commands;
        std::string error;
        EXPECT_FALSE(shell::ParseScript(text, &commands, &error)) << text;
        EXPECT_EQ(error, message);
    }
}

}  // namespace
