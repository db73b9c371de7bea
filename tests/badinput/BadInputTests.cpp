// What the program does with input it cannot use: the game must start, keep what it could not
// read, show the default table, and say in one clear line what went wrong.
#include <gtest/gtest.h>
#include <unistd.h>

#include <random>

#include "shell/media/Png.h"
#include "shell/settings/SettingsFormat.h"
#include "tests/badinput/ProgramRun.h"

namespace fs = std::filesystem;
using proof::ProgramResult;
using proof::RunProgram;
using proof::TempDir;

namespace {

// The title screen's top-five panel.
constexpr int kTableLeft = 320, kTableTop = 15, kTableRight = 520, kTableBottom = 125;

std::vector<uint8_t> TablePixels(const fs::path& png) {
    int w = 0, h = 0;
    std::vector<uint8_t> rgba, table;
    std::string error;
    EXPECT_TRUE(shell::media::ReadPng(png.string(), &w, &h, &rgba, &error)) << error;
    if (w < kTableRight || h < kTableBottom) return table;
    for (int y = kTableTop; y < kTableBottom; ++y) {
        const auto row = rgba.begin() + (static_cast<ptrdiff_t>(y) * w + kTableLeft) * 4;
        table.insert(table.end(), row, row + (kTableRight - kTableLeft) * 4);
    }
    return table;
}

// Starts the game headless on a settings file and takes a picture of the title screen.
ProgramResult StartOn(const fs::path& settings, const fs::path& screenshot) {
    return RunProgram(SHELL_PROGRAM, {"--headless", "--library", GAME_LIBRARY, "--seed", "1",
                                      "--settings", settings.string(), "--screenshot",
                                      screenshot.string()});
}

std::vector<fs::path> KeptAside(const fs::path& settings) {
    std::vector<fs::path> kept;
    for (const auto& entry : fs::directory_iterator(settings.parent_path())) {
        if (entry.path().filename().string().rfind(settings.filename().string() + ".corrupt-", 0) == 0) {
            kept.push_back(entry.path());
        }
    }
    return kept;
}

// A game started and ended at once by a script, so the store is written to.
ProgramResult PlayBriefly(const fs::path& settings, const TempDir& dir) {
    std::ofstream(dir / "script.txt") << "click 140 303\nwait 500\ndrag 25 150 60 185\nwait 500\n"
                                         "answer 1\nquit\n";
    return RunProgram(SHELL_PROGRAM, {"--headless", "--library", GAME_LIBRARY, "--seed", "1",
                                      "--settings", settings.string(), "--script",
                                      (dir / "script.txt").string()});
}

std::string RandomBytes(size_t n, uint32_t seed) {
    std::mt19937 random(seed);
    std::string bytes(n, '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    return bytes;
}

struct DamagedFile {
    const char* name;
    std::string content;
    bool keptAside;  // an empty file is an empty store, nothing to keep
};

void PrintTo(const DamagedFile& file, std::ostream* out) { *out << file.name; }

class DamagedSettingsFile : public ::testing::TestWithParam<DamagedFile> {};

}  // namespace

TEST_P(DamagedSettingsFile, IsKeptAsideAndTheGameStartsWithTheDefaultTable) {
    TempDir dir;
    // What a fresh player sees, for comparison.
    ASSERT_EQ(StartOn(dir / "fresh.txt", dir / "fresh.png").status, 0);

    const fs::path settings = dir / "settings.txt";
    std::ofstream(settings, std::ios::binary) << GetParam().content;
    const ProgramResult run = StartOn(settings, dir / "damaged.png");
    ASSERT_EQ(run.status, 0) << run.err;

    const std::vector<fs::path> kept = KeptAside(settings);
    if (GetParam().keptAside) {
        ASSERT_EQ(kept.size(), 1u) << run.err;
        EXPECT_EQ(proof::ReadFile(kept[0]), GetParam().content) << "the damaged file was changed";
        EXPECT_EQ(run.LinesWith(kept[0].string()), 1) << run.err;
    } else {
        EXPECT_TRUE(kept.empty());
        EXPECT_EQ(run.err, "");
    }
    shell::SettingsMap values;
    std::string error;
    ASSERT_TRUE(shell::ParseSettings(proof::ReadFile(settings), &values, &error)) << error;
    EXPECT_EQ(values["Spherolette.Score1Name"], "Quorvex");
    EXPECT_EQ(values["Spherolette.Score5Score"], "1000");
    EXPECT_EQ(TablePixels(dir / "damaged.png"), TablePixels(dir / "fresh.png"))
        << "the title screen does not show the default table";
}

INSTANTIATE_TEST_SUITE_P(
    Files, DamagedSettingsFile,
    ::testing::Values(
        DamagedFile{"RandomBytes", RandomBytes(4096, 7), true},
        DamagedFile{"Empty", "", false},
        DamagedFile{"OneMegabyteLine",
                    "# spherolette settings 1\nSpherolette.Score1Name=" + std::string(1 << 20, 'a') + "\n",
                    true},
        DamagedFile{"HeaderOnlyThenGarbage", "# spherolette settings 1\nno equals sign here\n", true}),
    [](const auto& file) { return std::string(file.param.name); });

TEST(DataDirectory, MissingLetsTheGameRunWithoutSavingAndSaysSoOnce) {
    TempDir dir;
    const fs::path settings = dir / "no" / "such" / "settings.txt";
    const ProgramResult run = PlayBriefly(settings, dir);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_FALSE(fs::exists(settings.parent_path()));
    EXPECT_EQ(run.LinesWith(settings.string()), 1) << run.err;
    EXPECT_EQ(run.LinesWith("not saved"), 1) << run.err;
}

TEST(DataDirectory, ReadOnlyLetsTheGameRunWithoutSavingAndSaysSoOnce) {
    TempDir dir;
    fs::path settings;
    if (::geteuid() == 0) {
        // Permissions do not hold root back; sysfs refuses new files to everyone.
        settings = "/sys/spherolette-settings.txt";
        if (::access("/sys", F_OK) != 0) GTEST_SKIP() << "no /sys to stand for a read-only folder";
    } else {
        fs::create_directory(dir / "readonly");
        fs::permissions(dir / "readonly", fs::perms::owner_read | fs::perms::owner_exec);
        settings = dir / "readonly" / "settings.txt";
    }
    const ProgramResult run = PlayBriefly(settings, dir);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_FALSE(fs::exists(settings));
    EXPECT_EQ(run.LinesWith(settings.string()), 1) << run.err;
    EXPECT_EQ(run.LinesWith("not saved"), 1) << run.err;
}

TEST(Fonts, NoneAtAllStopsTheGameNamingThePackage) {
    TempDir dir;
    std::ofstream(dir / "fonts.conf") << "<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n";
    const ProgramResult run = RunProgram(
        SHELL_PROGRAM, {"--headless", "--library", GAME_LIBRARY},
        {"FONTCONFIG_FILE=" + (dir / "fonts.conf").string(),
         // Remembered lookups from earlier runs would hide the empty configuration.
         "XDG_CACHE_HOME=" + (dir / "cache").string(), "HOME=" + dir.Path().string()});
    EXPECT_NE(run.status, 0);
    EXPECT_EQ(run.status, 6) << run.err;
    EXPECT_GE(run.LinesWith("fonts-liberation2"), 1) << run.err;
}

TEST(GameLibrary, MissingOrNotALibraryEndsWithStatusOneAndAMessage) {
    TempDir dir;
    std::ofstream(dir / "fake.so") << "not a shared library";
    for (const fs::path& library : {dir / "missing.so", dir / "fake.so"}) {
        const ProgramResult run =
            RunProgram(SHELL_PROGRAM, {"--headless", "--library", library.string()});
        EXPECT_EQ(run.status, 1) << library;
        EXPECT_EQ(run.LinesWith("cannot load the game library " + library.string()), 1) << run.err;
    }
}

TEST(GameLibrary, AProgramCopiedAwayFromItsLibraryEndsWithStatusOne) {
    TempDir dir;
    fs::copy_file(SHELL_PROGRAM, dir / "spherolette");
    const ProgramResult run = RunProgram((dir / "spherolette").string(), {"--headless"});
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_NE(run.err.find("library"), std::string::npos) << run.err;
}
