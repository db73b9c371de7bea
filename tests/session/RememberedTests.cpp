// What the shell remembers and shows of its own: the window's place read back only when whole,
// and the relaxed clock's labels on the title and game screens only.
#include <gtest/gtest.h>

#include "shell/session/Prefs.h"
#include "shell/session/RelaxedLabels.h"
#include "tests/session/LiveGame.h"

namespace {

TEST(RememberedWindow, ComesBackWhenWholeAndIsForgottenWhenNot) {
    shell::MemorySettings store;
    shell::ShellPrefs prefs;
    prefs.window = {-20, 40, 795, 630};
    prefs.Save(&store);
    shell::ShellPrefs read;
    read.Load(&store);
    EXPECT_EQ(read.window.x, -20);
    EXPECT_EQ(read.window.height, 630);
    for (const char* bad : {"10,20,795", "10,20,795,630,1", "a,b,c,d", "10,20,0,630",
                            "10,20,795,630x", "99999999,0,795,630", ""}) {
        store.values["Window"] = bad;
        shell::ShellPrefs again;
        again.Load(&store);
        EXPECT_FALSE(again.window.Known()) << bad;
    }
}

class Labels : public shell_test::LiveGame {};

TEST_F(Labels, TheRelaxedClockIsNamedOnTheTitleAndGameScreensOnly) {
    bool relaxed = false;
    shell::RelaxedLabels labels(*host, [&] { return relaxed; });
    session->AddOverlay(&labels);
    Start();
    EXPECT_EQ(labels.Showing(), shell::RelaxedLabels::Where::None);
    relaxed = true;
    session->Compose(nullptr);
    ASSERT_EQ(labels.Showing(), shell::RelaxedLabels::Where::Title);
    // Drawn beside the top-five table's heading, in the shell's dark teal.
    const shell::Rect title = labels.Area();
    EXPECT_EQ(session->Frame().At(title.x + 1, title.y + 1), shell::Argb(0, 51, 51));
    StartMedium();
    session->Compose(nullptr);
    ASSERT_EQ(labels.Showing(), shell::RelaxedLabels::Where::Game);
    const shell::Rect game = labels.Area();
    EXPECT_EQ(session->Frame().At(game.x + 1, game.y + 1), shell::Argb(0, 51, 51));
    // The screen under the label shows again once the clock is the standard one.
    relaxed = false;
    session->Compose(nullptr);
    EXPECT_TRUE(labels.Area().Empty());
    EXPECT_EQ(session->Frame().At(game.x + 1, game.y + 1), shell::Argb(51, 153, 153));
}

TEST_F(Labels, TheCreditsShowNone) {
    shell::RelaxedLabels labels(*host, [] { return true; });
    Start();
    for (char c : std::string("credits")) session->Typed(static_cast<uint8_t>(c));
    EXPECT_EQ(labels.Showing(), shell::RelaxedLabels::Where::None);
}

}  // namespace
