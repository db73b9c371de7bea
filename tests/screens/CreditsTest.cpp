// The typed word that opens the credits, the credits page and the way back.
#include <string>

#include "ScreensFixture.h"
#include "gamescreen/GameScreen.h"
#include "screens/CreditsScreen.h"
#include "screens/TitleScreen.h"

namespace screens_test {
namespace {

using CreditsTest = ScreensTest;

bool OnTitle(sph::Applet* app) {
    return dynamic_cast<sph::TitleScreen*>(app->currentScreen) != nullptr;
}
bool OnCredits(sph::Applet* app) {
    return dynamic_cast<sph::CreditsScreen*>(app->currentScreen) != nullptr;
}

class CreditsWord : public ScreensTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(CreditsWord, OpensTheCreditsOnTheSeventhKey) {
    Start();
    const std::string word = GetParam();
    host.TypeText(word.substr(0, 6));
    EXPECT_TRUE(OnTitle(App()));
    host.TypeKey(word[6]);
    EXPECT_TRUE(OnCredits(App()));
    EXPECT_EQ(sph::creditsKeyCount, 0);
}

INSTANTIATE_TEST_SUITE_P(Spellings, CreditsWord,
                         ::testing::Values("credits", "CREDITS", "CrEdItS", "cREDITs"));

TEST_F(CreditsTest, ABreakingKeyResetsAndDoesNotStartANewAttempt) {
    Start();
    host.TypeText("ccredits");
    EXPECT_TRUE(OnTitle(App()));
    host.TypeText("xcredit");
    EXPECT_TRUE(OnTitle(App()));
    host.TypeText("s");
    EXPECT_TRUE(OnCredits(App()));
}

TEST_F(CreditsTest, OtherCharactersNeverMatch) {
    Start();
    // Neighbours of the letters in Latin-1 and in the other case's table.
    host.TypeText("cred");
    host.TypeKey(static_cast<char>(0xC9));  // E with an accent
    EXPECT_EQ(sph::creditsKeyCount, 0);
    host.TypeText("credit\ts");
    EXPECT_TRUE(OnTitle(App()));
}

TEST_F(CreditsTest, ThePartWordSurvivesAGame) {
    Start();
    host.TypeText("cred");
    ClickDifficulty(0);
    ASSERT_NE(dynamic_cast<sph::GameScreen*>(App()->currentScreen), nullptr);
    App()->SwitchScreen(App()->currentScreen, new sph::TitleScreen(App()));
    host.TypeText("its");
    EXPECT_TRUE(OnCredits(App()));
}

TEST_F(CreditsTest, PageShowsHeaderAndCentredLinesThatFitTheStage) {
    Start();
    host.ClearDrawnTexts(host.MainCanvas());
    host.TypeText("credits");
    ASSERT_TRUE(OnCredits(App()));

    const std::string header = "Lame Credits screen this time (no time to do a real one!)";
    const testhost::DrawnText* top = TextAt(
        (530 - testhost::TestHost::TextWidth(12, host::kStyleBold, header.size())) / 2, 10);
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(top->text, header);

    for (int i = 0; i < sph::kContributorCount; ++i) {
        const std::string line = sph::kContributors[i];
        const int width = testhost::TestHost::TextWidth(12, host::kStyleBold, line.size());
        EXPECT_LE(width, 400) << line;
        const testhost::DrawnText* drawn = TextAt((530 - width) / 2, 30 + 18 * i);
        ASSERT_NE(drawn, nullptr) << line;
        EXPECT_EQ(drawn->text, line);
        EXPECT_EQ(drawn->fontSize, 12);
        EXPECT_EQ(drawn->r + drawn->g + drawn->b, 0);
    }

    host::Button* back = ButtonAt(348, 397);
    ASSERT_NE(back, nullptr);
    // The last line stands beside the button and must end before it.
    const std::string last = sph::kContributors[sph::kContributorCount - 1];
    const int lastWidth = testhost::TestHost::TextWidth(12, host::kStyleBold, last.size());
    EXPECT_LT((530 - lastWidth) / 2 + lastWidth, 348) << last;
    EXPECT_EQ(host.Info(back).buttonId, 0);
    // The sampler and the title's sprites are gone.
    EXPECT_EQ(host.SpritesOn(host.MainStage()).size(), 1u);

    auto timers = host.Timers();
    ASSERT_EQ(timers.size(), 1u);
    EXPECT_TRUE(host.IsStarted(timers[0]));
    EXPECT_EQ(host.PeriodOf(timers[0]), 100);
    host.Advance(350);
    EXPECT_TRUE(OnCredits(App()));
}

// The credits name what the game is made of and ships with, not the tools that build and
// test it, nor libraries it no longer uses.
TEST_F(CreditsTest, LinesCreditWhatTheGameIsMadeOfAndNoTools) {
    std::string all;
    for (int i = 0; i < sph::kContributorCount; ++i) {
        const std::string line = sph::kContributors[i];
        EXPECT_FALSE(line.empty()) << "line " << i;
        EXPECT_EQ(line.find('<'), std::string::npos) << line;  // drawn as markup
        all += line + "\n";
    }
    for (const char* part : {"SDL2", "stb_truetype", "giflib", "libpng", "zlib", "fontconfig",
                             "Liberation", "FreeType", "emscripten", "generator", "Help"}) {
        EXPECT_NE(all.find(part), std::string::npos) << part << " is not credited";
    }
    for (const char* tool : {"Xvfb", "xdotool", "GoogleTest", "Sanitizer", "UBSan", "Benchmark",
                             "CMake", "Ninja", "GCC", "Clang", "libFuzzer", "ImageMagick", "Git",
                             "SDL2_ttf", "HarfBuzz"}) {
        EXPECT_EQ(all.find(tool), std::string::npos) << tool << " is credited";
    }
}

TEST_F(CreditsTest, ReturnLeadsToANewTitleScreenAndEverythingBalances) {
    host.Settings()["UseAnimatedBubbles"] = "0";
    Start();
    const size_t liveOnTitle = host.GetLedger().Live().size();

    // A toggled box left through the credits is not saved.
    host.SendPointer(CheckBoxSprite(), host::kEventPointerReleased, 2, 2);
    host.TypeText("credits");
    ASSERT_TRUE(OnCredits(App()));
    EXPECT_TRUE(host.GetLedger().OverReleased().empty()) << host.GetLedger().Report();

    host.Click(ButtonAt(348, 397));
    ASSERT_TRUE(OnTitle(App()));
    EXPECT_EQ(NewGameSoundPlays(), 2);
    EXPECT_EQ(SpriteAt(348, 204), App()->miniSampler);
    EXPECT_EQ(host.Info(CheckBoxSprite()).frame, 0);
    EXPECT_EQ(host.Settings()["UseAnimatedBubbles"], "0");
    EXPECT_TRUE(host.Timers().empty());
    EXPECT_EQ(host.GetLedger().Live().size(), liveOnTitle) << host.GetLedger().Report();
    EXPECT_TRUE(host.GetLedger().OverReleased().empty()) << host.GetLedger().Report();

    // The count started again from 0: the word's tail alone does nothing.
    host.TypeText("its");
    EXPECT_TRUE(OnTitle(App()));
    host.TypeText("credits");
    EXPECT_TRUE(OnCredits(App()));
}

TEST_F(CreditsTest, StoppingOnTheCreditsReleasesEverything) {
    Start();
    host.TypeText("CREDITS");
    ASSERT_TRUE(OnCredits(App()));
    Stop();
}

}  // namespace
}  // namespace screens_test
