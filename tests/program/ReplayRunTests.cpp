// Whole runs of the program: a saved game replays to the same scores, a recording replays to
// the same picture, the relaxed clock keeps its own scores, and the shell's options persist.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "shell/session/Replay.h"

namespace {

namespace fs = std::filesystem;

class Run : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("comforts-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string Temp(const std::string& name) { return (dir / name).string(); }
    int Start(const std::string& args) {
        const std::string command = std::string(SHELL_PROGRAM) + " --headless --library " +
                                    GAME_LIBRARY + " " + args + " > " + Temp("out.txt") + " 2>&1";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    // The lines of a settings file whose key starts with `prefix`.
    static std::string Lines(const std::string& path, const std::string& prefix) {
        std::istringstream in(Read(path));
        std::string line, out;
        while (std::getline(in, line)) {
            if (line.rfind(prefix, 0) == 0) out += line + "\n";
        }
        return out;
    }
    fs::path dir;
};

TEST_F(Run, TheSavedGameReplaysToTheSameScores) {
    const std::string settings = Temp("s.txt");
    ASSERT_EQ(Start("--replay " REPLAY_DATA "/easy-game.replay --settings " + settings), 0)
        << Read(Temp("out.txt"));
    EXPECT_EQ(Lines(settings, "Spherolette.Score"), Read(REPLAY_DATA "/easy-game.scores"));
}

TEST_F(Run, ARecordedGameReplaysToTheSamePictureAndStoredValues) {
    const std::string record = Temp("game.replay");
    ASSERT_EQ(Start("--autoplay --autoplay-difficulty 2 --seed 21 --record " + record +
                    " --settings " + Temp("a.txt") + " --screenshot " + Temp("a.png")),
              0)
        << Read(Temp("out.txt"));
    ASSERT_EQ(Start("--replay " + record + " --settings " + Temp("b.txt") + " --screenshot " +
                    Temp("b.png")),
              0);
    EXPECT_TRUE(Read(Temp("a.png")) == Read(Temp("b.png")));
    EXPECT_FALSE(Lines(Temp("a.txt"), "Spherolette.").empty());
    EXPECT_EQ(Lines(Temp("a.txt"), "Spherolette."), Lines(Temp("b.txt"), "Spherolette."));
}

TEST_F(Run, TheRelaxedClockKeepsItsOwnTableAndNeverTouchesTheStandardOne) {
    const std::string settings = Temp("s.txt");
    // A standard game's scores, then a relaxed game in the same file.
    ASSERT_EQ(Start("--autoplay --autoplay-difficulty 0 --seed 7 --settings " + settings), 0)
        << Read(Temp("out.txt"));
    const std::string standard = Lines(settings, "Spherolette.");
    ASSERT_NE(standard.find("Spherolette.Score1Score=16000"), std::string::npos) << standard;
    ASSERT_EQ(Start("--relaxed --autoplay --autoplay-difficulty 0 --seed 8 --settings " + settings),
              0)
        << Read(Temp("out.txt"));
    const std::string relaxed = Lines(settings, "Relaxed.Spherolette.");
    EXPECT_NE(relaxed.find("Relaxed.Spherolette.Score1Name="), std::string::npos) << Read(settings);
    // The relaxed game's name prompt went into its own table only.
    ASSERT_EQ(Start("--relaxed --autoplay --autoplay-difficulty 2 --seed 21 --settings " + settings),
              0);
    EXPECT_NE(Lines(settings, "Relaxed.Spherolette.LastNameEntered="), "");
    EXPECT_EQ(Lines(settings, "Spherolette."), standard);
}

TEST_F(Run, ShellOptionsAreRememberedInTheirOwnKeys) {
    const std::string settings = Temp("s.txt");
    ASSERT_EQ(Start("--volume 40 --symbols --settings " + settings), 0) << Read(Temp("out.txt"));
    EXPECT_NE(Read(settings).find("Shell.Volume=40"), std::string::npos) << Read(settings);
    EXPECT_NE(Read(settings).find("Shell.Symbols=1"), std::string::npos);
    // A later run without the options keeps them; the game's keys stay apart.
    ASSERT_EQ(Start("--settings " + settings), 0);
    EXPECT_NE(Read(settings).find("Shell.Volume=40"), std::string::npos);
    EXPECT_EQ(Lines(settings, "Spherolette.Volume"), "");
    ASSERT_EQ(Start("--no-symbols --settings " + settings), 0);
    EXPECT_NE(Read(settings).find("Shell.Symbols=0"), std::string::npos);
    EXPECT_EQ(Start("--volume 101"), 2);
    EXPECT_EQ(Start("--record a --replay b"), 2);
}

TEST(ReplayFile, TextsWithAnyByteRoundTripAndBrokenFilesAreRefused) {
    shell::Replay replay;
    std::string error;
    ASSERT_TRUE(shell::ParseReplay("spherolette-replay 1\nseed 5\nsetting Name A\\x20b\\x5cc\n"
                                   "down 10 1 2\ntick 20\ninput 1 J\\x0ao\nanswer 0\nend 30\n",
                                   &replay, &error))
        << error;
    EXPECT_EQ(replay.seed, 5u);
    ASSERT_EQ(replay.settings.size(), 1u);
    EXPECT_EQ(replay.settings[0].second, "A b\\c");
    ASSERT_EQ(replay.steps.size(), 2u);
    EXPECT_EQ(replay.steps[0].input.kind, shell::SessionInput::Kind::Down);
    ASSERT_EQ(replay.answers.size(), 2u);
    EXPECT_EQ(replay.answers[0].text, "J\no");
    EXPECT_EQ(replay.end, 30);
    for (const char* bad : {"", "something else\n", "spherolette-replay 1\nfly 1 2\n",
                            "spherolette-replay 1\ndown 1 2\n",
                            "spherolette-replay 1\ntick 50\ntick 40\n",
                            "spherolette-replay 1\nsetting K \\x4\n"}) {
        shell::Replay r;
        EXPECT_FALSE(shell::ParseReplay(bad, &r, &error)) << bad;
    }
}

}  // namespace
