// The title screen: what it shows, the animated-bubbles option, the difficulty buttons and
// what it leaves behind when it goes.
#include <algorithm>
#include <string>

#include "ScreensFixture.h"
#include "applet/Globals.h"
#include "gamescreen/GameScreen.h"
#include "screens/CheckBox.h"
#include "screens/CreditsScreen.h"
#include "screens/TitleScreen.h"

namespace screens_test {
namespace {

using TitleScreenTest = ScreensTest;

TEST_F(TitleScreenTest, FirstScreenShowsSamplerButtonsOptionAndTexts) {
    Start();
    ASSERT_NE(dynamic_cast<sph::TitleScreen*>(App()->currentScreen), nullptr);
    EXPECT_EQ(NewGameSoundPlays(), 1);
    EXPECT_EQ(host.GameActive(), 0);

    EXPECT_EQ(SpriteAt(348, 204), App()->miniSampler);
    EXPECT_TRUE(host.Info(App()->miniSampler).animating);

    const int xs[] = {95, 120, 105, 120, 97};
    const int ys[] = {250, 272, 294, 316, 338};
    for (int id = 0; id < 5; ++id) {
        host::Button* button = ButtonAt(xs[id], ys[id]);
        ASSERT_NE(button, nullptr) << "difficulty " << id;
        EXPECT_EQ(host.Info(button).buttonId, id);
    }

    ASSERT_NE(CheckBoxSprite(), nullptr);
    EXPECT_EQ(host.Info(CheckBoxSprite()).frame, 1);
    EXPECT_EQ(TextAtOrNone(29, 396), "Use Animated Bubbles");
    EXPECT_EQ(TextAtOrNone(46, 214), "Select Difficulty to Start:");

    const char* lines[] = {"Drag the bubbles into place",      "across the board.  Line up",
                           "bubbles in horizontal, vertical,", "or diagonal lines of five or",
                           "more to clear them out.  The",     "more bubbles you clear, the",
                           "more points and free moves",       "you get."};
    for (int i = 0; i < 8; ++i) {
        const testhost::DrawnText* line = TextAt(310, 295 + 14 * i);
        ASSERT_NE(line, nullptr) << "instruction line " << i;
        EXPECT_EQ(line->text, lines[i]);
        EXPECT_EQ(line->fontSize, 12);
        EXPECT_EQ(line->fontStyle & host::kStyleBold, host::kStyleBold);
        EXPECT_EQ(line->r + line->g + line->b, 0);
    }
}

struct OptionCase {
    const char* stored;  // null: key absent
    bool checked;
};

class AnimatedBubblesOption : public ScreensTest,
                              public ::testing::WithParamInterface<OptionCase> {};

TEST_P(AnimatedBubblesOption, SetsTheBoxAndIsSavedWhenADifficultyIsChosen) {
    if (GetParam().stored != nullptr) host.Settings()["UseAnimatedBubbles"] = GetParam().stored;
    Start();
    ASSERT_NE(CheckBoxSprite(), nullptr);
    EXPECT_EQ(host.Info(CheckBoxSprite()).frame, GetParam().checked ? 1 : 0);

    sph::animatedBubbles = !GetParam().checked;
    host.ClearCalls();
    ClickDifficulty(2);

    const std::string expected =
        std::string("UseAnimatedBubbles=") + (GetParam().checked ? "1" : "0");
    ASSERT_FALSE(Writes().empty());
    EXPECT_EQ(Writes().front(), expected);
    EXPECT_EQ(host.Settings()["UseAnimatedBubbles"], GetParam().checked ? "1" : "0");
    EXPECT_EQ(sph::animatedBubbles, GetParam().checked);

    auto* game = dynamic_cast<sph::GameScreen*>(App()->currentScreen);
    ASSERT_NE(game, nullptr);
    EXPECT_EQ(game->difficulty, 2);
}

INSTANTIATE_TEST_SUITE_P(StoredValues, AnimatedBubblesOption,
                         ::testing::Values(OptionCase{"1", true}, OptionCase{"0", false},
                                           OptionCase{"10", true}, OptionCase{"", false},
                                           OptionCase{nullptr, true}, OptionCase{"01", false}));

TEST_F(TitleScreenTest, CheckBoxFlipsOnEveryReleaseAndTheChoiceStartsTheGame) {
    host.Settings()["UseAnimatedBubbles"] = "0";
    Start();
    host::Sprite* box = CheckBoxSprite();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(host.Info(box).frame, 0);

    host.SendPointer(box, host::kEventPointerPressed, 3, 3);
    EXPECT_EQ(host.Info(box).frame, 0) << "a press alone does not toggle";
    host.SendPointer(box, host::kEventPointerReleased, 3, 3);
    EXPECT_EQ(host.Info(box).frame, 1);
    host.SendPointer(box, host::kEventPointerReleased, 3, 3);
    EXPECT_EQ(host.Info(box).frame, 0);
    host.SendPointer(box, host::kEventPointerReleased, 3, 3);
    EXPECT_EQ(host.Info(box).frame, 1);
    EXPECT_EQ(host.Settings()["UseAnimatedBubbles"], "0") << "clicks alone store nothing";

    ClickDifficulty(4);
    EXPECT_EQ(host.Settings()["UseAnimatedBubbles"], "1");
    EXPECT_TRUE(sph::animatedBubbles);
    auto* game = dynamic_cast<sph::GameScreen*>(App()->currentScreen);
    ASSERT_NE(game, nullptr);
    EXPECT_EQ(game->difficulty, 4);
    EXPECT_EQ(host.GameActive(), 1);
}

// The box is made and put in place first; only then is the option read and shown on it, and
// its caption drawn after that.
TEST_F(TitleScreenTest, CheckBoxIsMovedIntoPlaceBeforeTheOptionIsReadAndApplied) {
    host.Settings()["UseAnimatedBubbles"] = "0";
    Start();
    const std::vector<testhost::Call>& calls = host.Calls();
    const int boxId = host.Info(CheckBoxSprite()).id;
    auto find = [&](auto matches) {
        for (size_t i = 0; i < calls.size(); ++i) {
            if (matches(calls[i])) return static_cast<long>(i);
        }
        return -1L;
    };
    const long created = find([&](const testhost::Call& c) {
        return c.op == "CreateSprite" && c.args.at(1) == "2";
    });
    const long moved = find([&](const testhost::Call& c) {
        return c.op == "MoveTo" && c.objectId == boxId;
    });
    const long read = find([](const testhost::Call& c) {
        return c.op == "ReadString" && c.args.at(0) == "UseAnimatedBubbles";
    });
    const long shown = find([](const testhost::Call& c) { return c.op == "SetFrame"; });
    const long caption = find([](const testhost::Call& c) {
        return c.op == "DrawText" && c.args.at(0) == "Use Animated Bubbles";
    });
    ASSERT_GE(created, 0);
    ASSERT_GE(moved, 0);
    EXPECT_EQ(calls[moved].args, (std::vector<std::string>{"8", "392", "0"}));
    EXPECT_LT(created, moved);
    EXPECT_LT(moved, read);
    EXPECT_LT(read, shown);
    EXPECT_EQ(calls[shown].args, std::vector<std::string>{"0"});
    EXPECT_LT(shown, caption);
}

TEST_F(TitleScreenTest, EachButtonStartsItsDifficulty) {
    for (int id = 0; id < 5; ++id) {
        Start();
        ClickDifficulty(id);
        auto* game = dynamic_cast<sph::GameScreen*>(App()->currentScreen);
        ASSERT_NE(game, nullptr);
        EXPECT_EQ(game->difficulty, id);
        Stop();
    }
}

TEST_F(TitleScreenTest, LeavingRemovesItsSpritesButKeepsTheSampler) {
    Start();
    host::Sprite* sampler = App()->miniSampler;
    const int samplerId = host.Info(sampler).id;
    ClickDifficulty(0);

    auto onStage = host.SpritesOn(host.MainStage());
    EXPECT_EQ(std::count(onStage.begin(), onStage.end(), sampler), 0);
    EXPECT_EQ(SpriteAt(8, 392), nullptr);
    EXPECT_EQ(sph::titleCheckBox, nullptr);
    for (host::Sprite* s : onStage) EXPECT_FALSE(host.Info(s).isButton) << "a title button stayed";
    EXPECT_GE(host.GetLedger().Entries().at(samplerId).references, 1);
    EXPECT_EQ(host.GetLedger().Entries().at(samplerId).releases, 0);
    EXPECT_TRUE(host.GetLedger().OverReleased().empty()) << host.GetLedger().Report();

    // The key subscription went with the screen: the word does nothing during a game.
    host.TypeText("credits");
    EXPECT_NE(dynamic_cast<sph::GameScreen*>(App()->currentScreen), nullptr);
    EXPECT_EQ(sph::creditsKeyCount, 0);
}

TEST_F(TitleScreenTest, AReturnFromTheGameRebuildsTheScreenFromTheStore) {
    host.Settings()["UseAnimatedBubbles"] = "0";
    Start();
    ClickDifficulty(1);
    // The game ends and its screen builds a new title screen, as at game over.
    host.Settings()["Score1Name"] = "Zed";
    host.Settings()["Score1Score"] = "20000";
    host.ClearDrawnTexts(host.MainCanvas());
    auto* title = new sph::TitleScreen(App());
    App()->SwitchScreen(App()->currentScreen, title);

    EXPECT_EQ(NewGameSoundPlays(), 2);
    EXPECT_EQ(SpriteAt(348, 204), App()->miniSampler);
    EXPECT_EQ(TextAtOrNone(334, 40), "Zed");
    EXPECT_EQ(TextAtOrNone(439, 40), "20,000");
    EXPECT_EQ(host.Info(CheckBoxSprite()).frame, 0);
    EXPECT_EQ(host.GameActive(), 0);
    EXPECT_TRUE(host.GetLedger().OverReleased().empty()) << host.GetLedger().Report();
}

}  // namespace
}  // namespace screens_test
