// The game menu: worked with the keys and the pointer, and at work in a live run (a headless
// front end on a virtual clock): the game's time stands still while it is open, its entries
// ask before a game is abandoned, and quitting keeps the game, which the next start offers.
#include <gtest/gtest.h>

#include "shell/headless/HeadlessFrontend.h"
#include "shell/session/GameMenu.h"
#include "shell/session/LivePlay.h"
#include "tests/session/KeptRun.h"
#include "shell/fonts/SystemFonts.h"

namespace {

using shell::GameMenu;
using shell::KeyCode;
using shell::MenuCommand;
using shell::MenuEntry;
using shell::ShellEvent;

// ---- The menu by itself ----------------------------------------------------------------------

std::vector<MenuEntry> SomeEntries() {
    std::vector<MenuEntry> e(4);
    e[0].command = MenuCommand::NewGame;
    e[0].label = "New game";
    e[0].enabled = false;
    e[1].command = MenuCommand::Symbols;
    e[1].label = "Symbols";
    e[1].checked = false;
    e[2].command = MenuCommand::VolumeUp;
    e[2].label = "Volume";
    e[2].level = 50;
    e[3].command = MenuCommand::Quit;
    e[3].label = "Quit";
    e[3].keys = "Ctrl+Q";
    e[3].groupStart = true;
    return e;
}

class MenuByItself : public ::testing::Test {
protected:
    void SetUp() override { menu.Layout(510, 18, 530, 420); }
    // The middle of a row's left half.
    std::pair<int, int> RowPoint(int row) const {
        const shell::Rect b = menu.Bounds();
        int y = b.y + 24 + row * GameMenu::kRowHeight + GameMenu::kRowHeight / 2;
        if (row >= 3) y += 5;  // below the line before "Quit"
        return {b.x + 20, y};
    }
    shell::FontCache fonts{shell::fonts::SystemFonts::Source()()};
    GameMenu menu{fonts, SomeEntries()};
};

TEST_F(MenuByItself, TheKeysPassOverUnavailableEntriesAndTheVolumeTakesLeftAndRight) {
    EXPECT_EQ(menu.Focus(), 1);  // the first entry is unavailable
    menu.Press(GameMenu::Key::Up);
    EXPECT_EQ(menu.Focus(), 3);  // round to the last, past the unavailable one
    menu.Press(GameMenu::Key::Up);
    menu.Press(GameMenu::Key::Enter);  // the volume row takes Left and Right only
    EXPECT_EQ(menu.TakeChosen(), std::nullopt);
    menu.Press(GameMenu::Key::Left);
    EXPECT_EQ(menu.TakeChosen(), MenuCommand::VolumeDown);
    EXPECT_EQ(menu.TakeChosen(), std::nullopt);  // once
}

TEST_F(MenuByItself, AClickChoosesTheRowUnderItAndAClickBesideItPutsItAway) {
    auto [x, y] = RowPoint(3);
    menu.PointerDown(x, y);
    menu.PointerUp(x, y);
    EXPECT_EQ(menu.TakeChosen(), MenuCommand::Quit);
    // Pressed on one row, released on another: nothing.
    const auto other = RowPoint(1);
    menu.PointerDown(x, y);
    menu.PointerUp(other.first, other.second);
    EXPECT_EQ(menu.TakeChosen(), std::nullopt);
    // An unavailable row does nothing.
    const auto off = RowPoint(0);
    menu.PointerDown(off.first, off.second);
    menu.PointerUp(off.first, off.second);
    EXPECT_EQ(menu.TakeChosen(), std::nullopt);
    // The volume row: its left half turns down.
    const auto volume = RowPoint(2);
    menu.PointerDown(volume.first, volume.second);
    menu.PointerUp(volume.first, volume.second);
    EXPECT_EQ(menu.TakeChosen(), MenuCommand::VolumeDown);
    EXPECT_FALSE(menu.Closed());
    menu.PointerDown(5, 400);
    menu.PointerUp(5, 400);
    EXPECT_TRUE(menu.Closed());
}

// ---- The menu in a live run ------------------------------------------------------------------

// A front end whose player takes a second over every record.
class UnhurriedFrontend : public shell::HeadlessFrontend {
public:
    using HeadlessFrontend::HeadlessFrontend;
    bool WaitEvent(ShellEvent* event, int ms) override {
        const bool got = HeadlessFrontend::WaitEvent(event, ms);
        if (got) AdvanceBy(1000);
        return got;
    }
    std::function<void(int)> AdvanceBy = [](int) {};
};

class LiveMenu : public shell_test::KeptRun {
protected:
    // A program start; `answer` is typed to a question as it starts.
    void Play(uint64_t seed, const char* answer = nullptr) {
        Open(seed);
        frontend = std::make_unique<UnhurriedFrontend>(time);
        frontend->AdvanceBy = [this](int ms) { time.now += ms; };
        play = std::make_unique<shell::LivePlay>(*run, *frontend, &time, nullptr);
        if (answer != nullptr) Text(answer);
        play->Start();
        Frames(2);
    }
    void Quit() {
        play.reset();
        frontend.reset();
    }
    void TearDown() override {
        Quit();
        KeptRun::TearDown();
    }
    void Frames(int n) {
        for (int i = 0; i < n && !play->GetLoop().Ending(); ++i) play->GetLoop().RunFrame();
    }
    void Key(KeyCode key, uint32_t mods = 0, char c = 0) {
        frontend->Push(ShellEvent::KeyDown(key, mods, c));
    }
    void Text(const char* text) { frontend->Push(ShellEvent::Typed(text)); }
    void ClickStage(int x, int y) {
        frontend->Push(ShellEvent::Pointer(ShellEvent::Type::PointerDown, x, y));
        frontend->Push(ShellEvent::Pointer(ShellEvent::Type::PointerUp, x, y));
    }
    // Opens the menu and moves down to an entry (0 is the first one the keys reach).
    void MenuEntry(int downs) {
        Key(KeyCode::F10);
        for (int i = 0; i < downs; ++i) Key(KeyCode::Down);
        Key(KeyCode::Enter);
    }
    std::unique_ptr<UnhurriedFrontend> frontend;
    std::unique_ptr<shell::LivePlay> play;
};

TEST_F(LiveMenu, NothingOfTheGameRunsWhileTheMenuIsOpen) {
    Play(2);
    ClickStage(130, 304);  // "Medium"
    Frames(3);
    ASSERT_TRUE(host().Frame().GameActive());
    const int64_t before = host().Clock().Now();
    Key(KeyCode::F10);
    for (int i = 0; i < 5; ++i) Key(KeyCode::Down);
    Key(KeyCode::Escape);
    Frames(1);
    EXPECT_GE(time.now - before, 7000);  // the player took seven seconds
    EXPECT_LT(host().Clock().Now() - before, 1500);  // the game saw only the one before F10
    EXPECT_FALSE(play->Menu().IsOpen());
    EXPECT_TRUE(host().Frame().GameActive());
}

TEST_F(LiveMenu, LeavingAGameAsksFirstAndAnAbandonedGameRecordsNothing) {
    Play(3);
    ClickStage(130, 304);
    Frames(3);
    const std::string stored = Read(Settings());
    MenuEntry(0);  // "New game (same difficulty)": asked about first, and No keeps the game
    Frames(1);
    Text("n");
    Frames(2);
    EXPECT_TRUE(host().Frame().GameActive());
    MenuEntry(1);  // "Back to title"
    Text("y");
    Frames(2);
    EXPECT_FALSE(host().Frame().GameActive());
    EXPECT_EQ(Read(Settings()), stored);
    MenuEntry(0);  // "New game" at the last difficulty, from the title: nothing to ask
    Frames(2);
    EXPECT_TRUE(host().Frame().GameActive());
    EXPECT_EQ(play->GetRunControl().Difficulty(), 2);
}

TEST_F(LiveMenu, OptionsChangeAtOnceAndTheMenuStays) {
    Play(4);
    Key(KeyCode::F10);
    for (int i = 0; i < 3; ++i) Key(KeyCode::Down);  // from "Back to title" to "Symbol bubbles"
    Key(KeyCode::Enter);
    Key(KeyCode::Down);
    Key(KeyCode::Enter);  // "Sound" off
    Key(KeyCode::Down);
    Key(KeyCode::Left);   // volume down
    Key(KeyCode::Escape);
    Frames(1);
    const shell::ShellPrefs& prefs = run->GetPrefs().Values();
    EXPECT_TRUE(prefs.symbols);
    EXPECT_EQ(prefs.volume, 90);
    EXPECT_FALSE(prefs.muted);  // turning the volume brings the sound back
    EXPECT_NE(Read(Settings()).find("Shell.Symbols=1"), std::string::npos);
}

TEST_F(LiveMenu, QuittingMidGameKeepsItAndTheNextStartOffersIt) {
    Play(5);
    ClickStage(130, 304);
    Frames(3);
    ASSERT_TRUE(MoveABubble());
    Frames(3);
    Key(KeyCode::Character, shell::kModCtrl, 'q');
    Frames(2);
    ASSERT_TRUE(play->GetLoop().Ending());  // no question: the game is kept
    const shell::Pixmap board = Picture();
    Quit();
    ASSERT_EQ(Close(), shell::kExitOk);
    ASSERT_TRUE(std::filesystem::exists(KeptPath()));

    Play(6, "y");  // "Resume your last game?"
    ASSERT_TRUE(host().Frame().GameActive());
    EXPECT_TRUE(play->GetControls().GetPause().Active());
    play->GetControls().GetPause().End();
    EXPECT_TRUE(Picture() == board);
    // Quitting on the title screen leaves nothing kept.
    MenuEntry(1);
    Text("y");
    Frames(2);
    Key(KeyCode::Character, shell::kModCtrl, 'q');
    Frames(2);
    Quit();
    ASSERT_EQ(Close(), shell::kExitOk);
    EXPECT_FALSE(std::filesystem::exists(KeptPath()));
}

TEST_F(LiveMenu, ANoToTheOfferDiscardsTheKeptGame) {
    Play(7);
    ClickStage(130, 304);
    Frames(3);
    Key(KeyCode::Character, shell::kModCtrl, 'q');
    Frames(2);
    Quit();
    ASSERT_EQ(Close(), shell::kExitOk);
    Play(8, "n");
    EXPECT_FALSE(host().Frame().GameActive());
    EXPECT_FALSE(std::filesystem::exists(KeptPath()));
}

}  // namespace

namespace {

// Leaving while "Resume your last game?" is asked is no answer: the game stays kept, and the
// program ends at once, with no record needed to wake it.
TEST_F(LiveMenu, LeavingWhileTheOfferIsAskedKeepsTheGameAndEndsAtOnce) {
    for (const ShellEvent::Type leave : {ShellEvent::Type::Terminate, ShellEvent::Type::Close}) {
        Play(9);
        ClickStage(130, 304);
        Frames(3);
        Key(KeyCode::Character, shell::kModCtrl, 'q');
        Frames(2);
        Quit();
        ASSERT_EQ(Close(), shell::kExitOk);
        ASSERT_TRUE(std::filesystem::exists(KeptPath()));

        Open(10);
        frontend = std::make_unique<UnhurriedFrontend>(time);
        play = std::make_unique<shell::LivePlay>(*run, *frontend, &time, nullptr);
        frontend->Push(ShellEvent::Of(leave));
        play->Start();
        EXPECT_FALSE(play->GetLoop().RunFrame()) << static_cast<int>(leave);
        EXPECT_FALSE(host().Frame().GameActive());
        Quit();
        ASSERT_EQ(Close(), shell::kExitOk);
        EXPECT_TRUE(std::filesystem::exists(KeptPath())) << static_cast<int>(leave);
    }
}

}  // namespace
