// Kills a process in the middle of writing the high-score table, again and again, and checks
// that the file left behind always parses and holds one whole table.
#include "shell/settings/SettingsFormat.h"

#include "SettingsTestUtil.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <random>

using namespace settings_test;

namespace {

// The generation of the whole table in `values`, or -1 (with *why) when it is not one table.
long TableGeneration(const shell::SettingsMap& values, std::string* why) {
    if (values.size() != 10) {
        *why = std::to_string(values.size()) + " keys";
        return -1;
    }
    auto name = values.find("Score1Name");
    if (name == values.end() || name->second.rfind("Gen", 0) != 0) {
        *why = "no generation name";
        return -1;
    }
    long generation = std::stol(name->second.substr(3));
    for (int rank = 1; rank <= 5; ++rank) {
        std::string r = std::to_string(rank);
        auto n = values.find("Score" + r + "Name");
        auto s = values.find("Score" + r + "Score");
        if (n == values.end() || s == values.end() || n->second != name->second ||
            s->second != std::to_string(generation * 10 + (5 - rank))) {
            *why = "rank " + r + " is from another table";
            return -1;
        }
    }
    return generation;
}

}  // namespace

TEST(SettingsCrashSafety, AWriterKilledAtAnyMomentLeavesOneWholeTable) {
    TempDir dir;
    std::string path = dir.File("settings.txt");
    unsigned seed = static_cast<unsigned>(std::random_device{}());
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(50);

    long lastGeneration = 0;
    int trials = 0;
    for (; trials < 250 && std::chrono::steady_clock::now() < deadline; ++trials) {
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::dup2(ready[1], STDOUT_FILENO);
            ::close(ready[0]);
            ::close(ready[1]);
            ::execl(SETTINGS_CRASH_WRITER, SETTINGS_CRASH_WRITER, path.c_str(), nullptr);
            ::_exit(127);
        }
        ::close(ready[1]);
        // Most kills come while the table is being rewritten; a few during start-up.
        if (random() % 10 != 0) {
            char byte = 0;
            ASSERT_EQ(::read(ready[0], &byte, 1), 1) << "the writer did not start";
        }
        ::usleep(static_cast<useconds_t>(random() % 8000));
        ::close(ready[0]);
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_FALSE(WIFEXITED(status)) << "the writer stopped by itself, status "
                                        << WEXITSTATUS(status);

        std::string text = ReadFile(path);
        if (text.empty() && lastGeneration == 0) continue;  // killed before its first write
        shell::SettingsMap values;
        std::string why;
        ASSERT_TRUE(shell::ParseSettings(text, &values, &why)) << "trial " << trials << ": " << why;
        long generation = TableGeneration(values, &why);
        ASSERT_GE(generation, 0) << "trial " << trials << ": " << why;
        ASSERT_GE(generation, lastGeneration) << "trial " << trials << ": an older table came back";
        lastGeneration = generation;
    }
    std::printf("%d kills, %ld tables written\n", trials, lastGeneration);
    EXPECT_GE(trials, 200);
    EXPECT_GT(lastGeneration, 20) << "too few tables were written to test anything";
    for (const std::string& name : dir.Names()) {
        EXPECT_EQ(name.find(".corrupt-"), std::string::npos) << name;
    }
}
