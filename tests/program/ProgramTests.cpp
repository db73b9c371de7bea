// Whole runs of the spherolette program: headless against the real game library, the
// command line, and a missing or wrong library.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "shell/media/Png.h"

namespace {

struct Outcome {
    int code = -1;
    std::string out;  // stdout and stderr together
};

Outcome Start(const std::string& arguments) {
    const std::string command = std::string(SHELL_PROGRAM) + " " + arguments + " 2>&1";
    Outcome run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    char buffer[4096];
    size_t n = 0;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
    const int status = pclose(pipe);
    run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

class Program : public ::testing::Test {
protected:
    std::string Temp(const std::string& name) {
        return ::testing::TempDir() + "/shell-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name() + "-" + name;
    }
    std::string WriteScript(const std::string& text) {
        const std::string path = Temp("script.txt");
        std::ofstream(path) << text;
        return path;
    }
    std::string Library() { return std::string(" --library ") + GAME_LIBRARY; }
};

TEST_F(Program, HeadlessTitleScreenScreenshotAndCleanLedger) {
    const std::string shot = Temp("title.png");
    const std::string settings = Temp("settings.txt");
    std::remove(settings.c_str());
    const Outcome run = Start("--headless --seed 3 --report-first-frame --settings " + settings +
                          " --screenshot " + shot + Library());
    EXPECT_EQ(run.code, 0) << run.out;
    EXPECT_NE(run.out.find("first-frame-ms "), std::string::npos) << run.out;
    int w = 0, h = 0;
    std::vector<uint8_t> rgba;
    ASSERT_TRUE(shell::media::ReadPng(shot, &w, &h, &rgba, nullptr));
    EXPECT_EQ(w, 530);
    EXPECT_EQ(h, 420);
    // The title screen's teal background fills its corner.
    EXPECT_EQ(rgba[0], 51);
    EXPECT_EQ(rgba[1], 153);
    EXPECT_EQ(rgba[2], 153);
    // The applet's keys went into the file under its own name.
    std::ifstream in(settings);
    const std::string stored((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(stored.find("Spherolette.Score1Name"), std::string::npos) << stored;
}

TEST_F(Program, ScriptedGameAsksBeforeQuittingAndSameSeedGivesSamePixels) {
    const std::string a = Temp("a.png"), b = Temp("b.png"), help = Temp("help.png");
    // "Medium" on the title screen, a few seconds of play, the help page, then quit: the
    // first quit is refused (no answer queued), the second accepted.
    const std::string script = WriteScript(
        "# a short game\n"
        "wait 300\n"
        "click 130 304\n"
        "wait 2000\n"
        "screenshot " + a + "\n"
        "help\n"
        "screenshot-help " + help + "\n"
        "help\n"
        "quit\n"
        "answer 1\n"
        "quit\n"
        "key this is never reached\n");
    const Outcome first = Start("--headless --seed 11 --script " + script + Library());
    EXPECT_EQ(first.code, 0) << first.out;
    EXPECT_NE(first.out.find("\"Quit the game in progress?\" -> No"), std::string::npos) << first.out;
    EXPECT_NE(first.out.find("\"Quit the game in progress?\" -> Yes"), std::string::npos) << first.out;

    const std::string again = WriteScript("wait 300\nclick 130 304\nwait 2000\nscreenshot " + b + "\n");
    EXPECT_EQ(Start("--headless --seed 11 --script " + again + Library()).code, 0);
    std::ifstream fa(a, std::ios::binary), fb(b, std::ios::binary);
    const std::string pa((std::istreambuf_iterator<char>(fa)), std::istreambuf_iterator<char>());
    const std::string pb((std::istreambuf_iterator<char>(fb)), std::istreambuf_iterator<char>());
    EXPECT_FALSE(pa.empty());
    EXPECT_EQ(pa, pb);
    int w = 0, h = 0;
    std::vector<uint8_t> rgba;
    EXPECT_TRUE(shell::media::ReadPng(help, &w, &h, &rgba, nullptr));
}

TEST_F(Program, BadScriptLineIsNamed) {
    const Outcome run = Start("--headless --script " + WriteScript("wait 10\nfly 1 2\n") + Library());
    EXPECT_EQ(run.code, 2);
    EXPECT_NE(run.out.find("line 2: unknown command \"fly\""), std::string::npos) << run.out;
}

TEST_F(Program, MissingOrWrongLibraryExitsWithOne) {
    Outcome run = Start("--headless --library /nonexistent/libspherolette.so");
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.out.find("cannot load the game library"), std::string::npos) << run.out;
    run = Start(std::string("--headless --library ") + OTHER_LIBRARY);
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.out.find("lacks Shell_StartApplet Shell_StopApplet"), std::string::npos) << run.out;
}

// The options a text names: "--name" words (in the man page written "\-\-name").
std::set<std::string> OptionsNamed(std::string text) {
    for (size_t at = text.find("\\-"); at != std::string::npos; at = text.find("\\-", at)) {
        text.replace(at, 2, "-");
    }
    std::set<std::string> names;
    const std::regex option("--[a-z][a-z-]*[a-z]");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), option);
         it != std::sregex_iterator(); ++it) {
        names.insert(it->str());
    }
    return names;
}

TEST_F(Program, HelpAndTheManualListTheSameOptionsInEightyColumns) {
    const Outcome help = Start("--help");
    EXPECT_EQ(help.code, 0);
    std::ifstream manual(MAN_PAGE);
    std::stringstream page;
    page << manual.rdbuf();
    const std::set<std::string> inHelp = OptionsNamed(help.out);
    EXPECT_EQ(inHelp, OptionsNamed(page.str()));
    EXPECT_GE(inHelp.size(), 20u);
    std::istringstream lines(help.out);
    for (std::string line; std::getline(lines, line);) EXPECT_LE(line.size(), 80u) << line;
    // Every exit status the program gives is explained in both.
    for (int code = 0; code <= 6; ++code) {
        EXPECT_NE(help.out.find("  " + std::to_string(code) + "  "), std::string::npos) << code;
        EXPECT_NE(page.str().find(".B " + std::to_string(code) + "\n"), std::string::npos) << code;
    }
}

TEST_F(Program, VersionIsTheGamesOneVersion) {
    const Outcome version = Start("--version" + Library());
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out, "Spherolette " SPHEROLETTE_PROJECT_VERSION "\n");
    EXPECT_EQ(Start("--scale 0").code, 2);
    EXPECT_EQ(Start("--frobnicate").code, 2);
}

TEST_F(Program, TraceLogsHostCalls) {
    const Outcome run = Start("--headless --trace" + Library());
    EXPECT_EQ(run.code, 0);
    EXPECT_NE(run.out.find("trace: Factory#"), std::string::npos);
    EXPECT_NE(run.out.find(".LoadImage(\"p-img-Bubble0.gif\", 0)"), std::string::npos);
    EXPECT_NE(run.out.find(".SetTitle(\"Spherolette\")"), std::string::npos);
}

}  // namespace
