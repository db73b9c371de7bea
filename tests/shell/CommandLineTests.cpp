// What reaches the shell as text: typed UTF-8, script lines and the command line.
#include <gtest/gtest.h>

#include "shell/app/Options.h"
#include "shell/app/Script.h"
#include "shell/core/Latin1.h"
#include "shell/core/Rect.h"

namespace {

TEST(TypedText, Utf8BecomesLatin1AndTheRestIsDropped) {
    EXPECT_EQ(shell::Utf8ToLatin1("credits"), "credits");
    EXPECT_EQ(shell::Utf8ToLatin1("caf\xC3\xA9"), "caf\xE9");          // é
    EXPECT_EQ(shell::Utf8ToLatin1("\xE2\x82\xAC!"), "!");              // € has no Latin-1 code
    EXPECT_EQ(shell::Utf8ToLatin1("\xF0\x9F\x98\x80x"), "x");          // emoji
    EXPECT_EQ(shell::Utf8ToLatin1("a\xC3"), "a");                      // cut short
    EXPECT_EQ(shell::Utf8ToLatin1("\x80\xBF" "b"), "b");               // stray continuations
    EXPECT_EQ(shell::Utf8ToLatin1("\xC1\x81" "c"), "c");               // overlong 'A'
    EXPECT_EQ(shell::Utf8ToLatin1(std::string("\0d", 2)), "d");        // NUL is no character
}

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

TEST(DirtyAreas, TouchingRectanglesMergeAndTheListStaysShort) {
    shell::DirtyRegion region;
    region.Add({0, 0, 10, 10});
    region.Add({10, 0, 5, 10});  // touches: one rectangle
    ASSERT_EQ(region.Rects().size(), 1u);
    EXPECT_EQ(region.Rects()[0], (shell::Rect{0, 0, 15, 10}));
    region.Add({100, 100, 2, 2});
    EXPECT_EQ(region.Rects().size(), 2u);
    region.Add({0, 0, 0, 5});  // empty: ignored
    EXPECT_EQ(region.Rects().size(), 2u);
    for (int i = 0; i < 20; ++i) {
        region.Add({200 + 10 * i, 300, 2, 2});
        EXPECT_LE(region.Rects().size(), 8u);
    }
    EXPECT_EQ(region.Bounds(), (shell::Rect{0, 0, 392, 302}));  // nothing lost
}

}  // namespace
