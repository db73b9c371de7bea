// The kept game on disk: kept and read back whole, one running copy's at a time, and anything
// that is not a game this program can resume set aside with a word for the player.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "shell/session/ResumeFile.h"
#include "tests/session/KeptRun.h"
#include "shell/settings/FileStorage.h"
#include "shell/settings/MemoryStorage.h"
#include "shell/fonts/SystemFonts.h"

namespace {

namespace fs = std::filesystem;

const char* const kGame = "Spherolette";
const char* const kVersion = "1.2.3";

std::string Record(const std::string& game = kGame, const std::string& version = kVersion) {
    return "spherolette-replay 1\ngame " + game + "\nversion " + version +
           "\nseed 9\nrelaxed 0\nsymbols 0\nsetting Score1Name Ann\n"
           "down 100 40 50\nup 120 40 50\ntick 140\nanswer 1\nend 150\n";
}

class KeptGameFile : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("resume-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        path = shell::ResumeFile::PathFor((dir / "settings.txt").string());
    }
    void TearDown() override { fs::remove_all(dir); }
    void Write(const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
    int FilesSetAside() {
        int n = 0;
        for (const auto& e : fs::directory_iterator(dir)) {
            n += e.path().filename().string().find(".set-aside-") != std::string::npos;
        }
        return n;
    }

    fs::path dir;
    std::string path;
};

TEST_F(KeptGameFile, LivesNextToTheSettingsAndReadsBackWhatWasKept) {
    EXPECT_EQ(path, (dir / "settings.resume").string());
    EXPECT_EQ(shell::ResumeFile::PathFor("plain"), "./plain.resume");
    shell::ResumeFile file(std::make_unique<shell::FileStorage>(path), {});
    shell::Replay record;
    std::string notice;
    EXPECT_EQ(file.Load(kGame, kVersion, &record, &notice), shell::ResumeFile::Found::Nothing);
    ASSERT_TRUE(file.Keep(Record()));
    ASSERT_EQ(file.Load(kGame, kVersion, &record, &notice), shell::ResumeFile::Found::Game);
    EXPECT_EQ(record.seed, 9u);
    EXPECT_EQ(record.steps.size(), 3u);
    EXPECT_EQ(record.answers.size(), 1u);
    EXPECT_EQ(record.end, 150);
    file.Discard();
    EXPECT_FALSE(fs::exists(path));
    file.Discard();  // nothing there: nothing to say
}

TEST_F(KeptGameFile, WhatCannotBeResumedIsSetAsideWithANotice) {
    const std::string good = Record();
    const struct {
        const char* what;
        std::string text;
    } cases[] = {
        {"damaged", "spherolette-replay 1\nseed 9\nfly 3 4\nend 5\n"},
        {"not a record", "\x89PNG\r\n"},
        {"empty", ""},
        {"cut short", good.substr(0, good.find("tick"))},
        {"another version", Record(kGame, "1.2.2")},
        {"another game library", Record("Marbleworks")},
        {"no game named", "spherolette-replay 1\nseed 9\nend 5\n"},
        {"a day and more", "spherolette-replay 1\ngame Spherolette\nversion 1.2.3\ntick 0\n"
                           "end 90000000\n"},
        {"time out of range", Record() + "tick 99999999999999999\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Write(c.text);
        shell::ResumeFile file(std::make_unique<shell::FileStorage>(path), {});
        shell::Replay record;
        std::string notice;
        EXPECT_EQ(file.Load(kGame, kVersion, &record, &notice),
                  shell::ResumeFile::Found::SetAside);
        EXPECT_NE(notice.find("could not be resumed"), std::string::npos) << notice;
        EXPECT_FALSE(fs::exists(path));  // never offered again
    }
    EXPECT_EQ(FilesSetAside(), static_cast<int>(std::size(cases)));
}

// A host without files (the browser) keeps its game in storage of its own.
TEST(KeptGameStorage, RoundTripsInMemoryAndIsOneHoldersAndADamagedOneGoesAside) {
    auto held = std::make_shared<shell::MemoryText>();
    std::vector<std::string> lines;
    auto log = [&lines](const std::string& line) { lines.push_back(line); };
    shell::ResumeFile kept(std::make_unique<shell::MemoryStorage>(held, "browser:kept"), log);
    shell::ResumeFile other(std::make_unique<shell::MemoryStorage>(held, "browser:kept"), log);
    ASSERT_TRUE(kept.Claim());
    EXPECT_FALSE(other.Claim());

    shell::Replay record;
    std::string notice;
    EXPECT_EQ(kept.Load(kGame, kVersion, &record, &notice), shell::ResumeFile::Found::Nothing);
    ASSERT_TRUE(kept.Keep(Record()));
    EXPECT_EQ(held->text, Record());
    ASSERT_EQ(kept.Load(kGame, kVersion, &record, &notice), shell::ResumeFile::Found::Game);
    EXPECT_EQ(record.seed, 9u);
    EXPECT_EQ(record.steps.size(), 3u);
    EXPECT_EQ(record.end, 150);
    kept.Discard();
    EXPECT_FALSE(held->text.has_value());

    held->failWrites = true;
    EXPECT_FALSE(kept.Keep(Record()));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("browser:kept"), std::string::npos) << lines[0];

    held->text = Record(kGame, "0.9");
    EXPECT_EQ(kept.Load(kGame, kVersion, &record, &notice), shell::ResumeFile::Found::SetAside);
    EXPECT_NE(notice.find("version 0.9"), std::string::npos) << notice;
    EXPECT_FALSE(held->text.has_value());
    ASSERT_EQ(held->aside.size(), 1u);
    EXPECT_EQ(held->aside.begin()->second, Record(kGame, "0.9"));

    // Where it can be neither set aside nor removed, the log says so rather than "removed".
    held->text = "damaged";
    held->failAside = true;
    EXPECT_EQ(kept.Load(kGame, kVersion, &record, &notice), shell::ResumeFile::Found::SetAside);
    EXPECT_EQ(held->text, "damaged");
    EXPECT_NE(lines.back().find("could not be removed (read-only)"), std::string::npos)
        << lines.back();
}

TEST_F(KeptGameFile, OnlyOneRunningCopyHoldsIt) {
    auto first =
        std::make_unique<shell::ResumeFile>(std::make_unique<shell::FileStorage>(path), nullptr);
    shell::ResumeFile second(std::make_unique<shell::FileStorage>(path), {});
    EXPECT_TRUE(first->Claim());
    EXPECT_TRUE(first->Claim());  // already its own
    EXPECT_FALSE(second.Claim());
    first.reset();  // that copy quits
    EXPECT_TRUE(second.Claim());
}

class TwoCopies : public shell_test::KeptRun {};

TEST_F(TwoCopies, TheSecondCopyKeepsNoGameAndLeavesTheFirstOnesAlone) {
    Open(1);
    ASSERT_NE(run->Kept(), nullptr);
    Click(130, 304);  // a game in progress
    shell::Options options;
    options.settings = Settings();
    shell::RunSetup setup;
    setup.time = time.AsSource();
    setup.keepGames = true;
    setup.openFile = shell::FileStorage::Open;
    setup.fonts = shell::fonts::SystemFonts::Source();
    int code = 0;
    std::unique_ptr<shell::Run> second = shell::Run::Open(options, library->Entry(), setup, &code);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->Kept(), nullptr);
    EXPECT_EQ(second->Finish(""), shell::kExitOk);
    second.reset();
    EXPECT_EQ(Close(), shell::kExitOk);
    EXPECT_TRUE(fs::exists(KeptPath()));  // the first copy kept its game
}

}  // namespace
