// Font lookup: "Arial" must give the metric-compatible family with real styled files;
// remembered lookups spare loading fontconfig and are looked up again when anything changed.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "shell/fonts/Fontconfig.h"
#include "shell/fonts/SystemFonts.h"
#include "tests/fonts/FontFiles.h"

using shell::fonts::FindWithFontconfig;

TEST(Fontconfig, ArialGivesLiberationSansWithFourRealStyleFiles) {
    std::set<std::string> files;
    for (int style = 0; style < 4; ++style) {
        bool bold = style & 1, italic = style & 2;
        auto match = FindWithFontconfig("Arial", bold, italic);
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

TEST(Fontconfig, AnUnknownFaceFallsBackAndSaysItIsNotMetricCompatible) {
    auto match = FindWithFontconfig("No Such Face Anywhere", false, false);
    ASSERT_TRUE(match.has_value());
    EXPECT_FALSE(match->file.empty());
    EXPECT_FALSE(match->metricCompatible) << match->family;
}

// ---- Remembered lookups and font files ------------------------------------------------------

using shell::fonts::FontMatch;
using shell::fonts::SystemFonts;

namespace {

std::filesystem::path TemporaryFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "fonts-test-XXXXXX").string();
    return mkdtemp(pattern.data());
}

bool FontconfigLoaded() {
    void* handle = dlopen("libfontconfig.so.1", RTLD_NOLOAD | RTLD_LAZY);
    if (handle != nullptr) dlclose(handle);
    return handle != nullptr;
}

// A line as a run writes it.
std::string Line(const std::string& face, bool bold, const std::string& file, const std::string& family) {
    return face + "\t" + (bold ? "1" : "0") + "\t0\t" + file + "\t" + family + "\t1\t" +
           (bold ? "1" : "0") + "\t0\t" + SystemFonts::FileStamp(file) + "\n";
}

std::string Read(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

TEST(RememberedFonts, ALookupFromAnEarlierRunNeedsNoFontconfigAndNewOnesAreKept) {
    if (FontconfigLoaded()) GTEST_SKIP() << "an earlier test in this process loaded fontconfig";
    const auto memory = TemporaryFolder() / "fonts.txt";
    std::ofstream(memory) << SystemFonts::ConfigurationStamp() << "\n"
                          << Line("Arial", false, fonts_test::kRegular, "Liberation Sans")
                          << Line("Arial", true, fonts_test::kBold, "Liberation Sans");
    SystemFonts fonts(memory.string());
    const std::optional<FontMatch> bold = fonts.Find("Arial", true, false);
    ASSERT_TRUE(bold);
    EXPECT_EQ(bold->file, fonts_test::kBold);
    EXPECT_TRUE(bold->bold && bold->metricCompatible);
    std::string error;
    EXPECT_TRUE(fonts.Open(*bold, &error)) << error;
    EXPECT_FALSE(FontconfigLoaded());

    ASSERT_TRUE(fonts.Find("Arial", false, true));  // not remembered: fontconfig answers
    EXPECT_TRUE(FontconfigLoaded());
    fonts.Save();
    const std::string saved = Read(memory);
    EXPECT_EQ(saved.rfind(SystemFonts::ConfigurationStamp() + "\n", 0), 0u);
    EXPECT_NE(saved.find("Arial\t0\t1\t"), std::string::npos) << saved;
    EXPECT_NE(saved.find("Arial\t1\t0\t"), std::string::npos) << saved;
}

TEST(RememberedFonts, DamagedLinesAndChangedOrMissingFilesAreLookedUpAgain) {
    const auto folder = TemporaryFolder();
    const auto memory = folder / "fonts.txt";
    // Only the file maps these made-up faces to Liberation Mono; fontconfig gives another family.
    std::ofstream(memory) << SystemFonts::ConfigurationStamp() << "\n"
                          << "no tabs at all\n"
                          << "Short\t0\t0\n\t\t\t\t\t\t\t\t\n"
                          << "\xFF\xFE\x01\t1\t1\t\x80\n"
                          << Line("Remembered", false, fonts_test::kMono, "Liberation Mono")
                          << "Changed\t0\t0\t" << fonts_test::kMono << "\tLiberation Mono\t1\t0\t0\t1/2.3\n"
                          << Line("Gone", false, (folder / "gone.ttf").string(), "Liberation Mono");
    SystemFonts fonts(memory.string());
    EXPECT_EQ(fonts.Find("Remembered", false, false)->family, "Liberation Mono");
    for (const char* face : {"Changed", "Gone", "Short"}) {
        const std::optional<FontMatch> match = fonts.Find(face, false, false);
        ASSERT_TRUE(match) << face;
        EXPECT_NE(match->family, "Liberation Mono") << face;
        EXPECT_TRUE(std::filesystem::exists(match->file)) << face;
    }
}

TEST(RememberedFonts, AChangedConfigurationForgetsEveryLookup) {
    const auto memory = TemporaryFolder() / "fonts.txt";
    std::ofstream(memory) << "v1 another configuration\n"
                          << Line("Remembered", false, fonts_test::kMono, "Liberation Mono");
    SystemFonts fonts(memory.string());
    EXPECT_NE(fonts.Find("Remembered", false, false)->family, "Liberation Mono");
}

TEST(RememberedFonts, SavingMakesTheFolderAndLeavesOnlyTheWholeFile) {
    const auto folder = TemporaryFolder();
    const auto memory = folder / "cache" / "spherolette" / "fonts.txt";
    {
        SystemFonts fonts(memory.string());
        fonts.Find("Arial", false, false);
        fonts.Find("Tab\tFace", false, false);  // cannot be written on one line: not kept
        fonts.Save();
    }
    const std::string saved = Read(memory);
    EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'), 2) << saved;
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(memory.parent_path())) {
        ++files;
        EXPECT_EQ(entry.path().filename(), "fonts.txt");
    }
    EXPECT_EQ(files, 1);
}

TEST(SystemFontFiles, OnlyRegularFilesAreOpenedAndAPipeIsNotWaitedOn) {
    const auto folder = TemporaryFolder();
    ASSERT_EQ(mkfifo((folder / "pipe").c_str(), 0600), 0);
    std::ofstream(folder / "empty");
    SystemFonts fonts("");
    for (const std::string& file : {folder.string(), (folder / "pipe").string(),
                                   (folder / "empty").string(), (folder / "missing").string()}) {
        FontMatch match;
        match.file = file;
        std::string error;
        EXPECT_FALSE(fonts.Open(match, &error)) << file;
        EXPECT_FALSE(error.empty()) << file;
    }
    FontMatch real;
    real.file = fonts_test::kRegular;
    std::string error;
    const auto bytes = fonts.Open(real, &error);
    ASSERT_TRUE(bytes) << error;
    EXPECT_EQ(bytes->Size(), std::filesystem::file_size(fonts_test::kRegular));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes->Data()), 4), std::string("\0\1\0\0", 4));
}
