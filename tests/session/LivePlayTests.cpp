// A live run on the null front end: the loop, the input layer and the drawn dialogs over the real
// game library, on a virtual clock, with records put in by the test.
#include <gtest/gtest.h>

#include <fstream>

#include "shell/headless/HeadlessFrontend.h"
#include "shell/posix/AppletLibrary.h"
#include "shell/session/LivePlay.h"
#include "shell/session/Run.h"
#include "shell/settings/FileStorage.h"
#include "shell/fonts/SystemFonts.h"

namespace {

using shell::KeyCode;
using shell::ShellEvent;

class Live : public ::testing::Test {
protected:
    void Open(const std::string& settingsPath = {}, bool autoplay = false) {
        std::string error;
        library = shell::AppletLibrary::Open(GAME_LIBRARY, &error);
        ASSERT_TRUE(library) << error;
        shell::RunSetup setup;
        setup.time = time.AsSource();
        setup.memoryStoreByDefault = settingsPath.empty();
        setup.settingsPath = settingsPath;
        setup.openFile = shell::FileStorage::Open;
        setup.fonts = shell::fonts::SystemFonts::Source();
        shell::Options options;
        options.seed = 11;
        options.autoplay = autoplay;
        options.autoplayGames = 0;
        int code = 0;
        run = shell::Run::Open(options, library->Entry(), setup, &code);
        ASSERT_TRUE(run);
        frontend = std::make_unique<shell::HeadlessFrontend>(time);
        play = std::make_unique<shell::LivePlay>(*run, *frontend, nullptr);
        play->Start();
    }
    void TearDown() override {
        if (!run) return;
        play.reset();
        EXPECT_EQ(run->Finish({}), shell::kExitOk);
    }
    // Frames until `ms` of virtual time have gone by.
    void Frames(int64_t ms) {
        const int64_t until = time.now + ms;
        while (time.now < until) {
            const int64_t before = time.now;
            play->GetLoop().RunFrame();
            if (time.now == before) time.now += 1;
        }
    }
    // A record the front end gives a little later, when the dialog it is meant for is open.
    void Later(const ShellEvent& e) { play->Feed().Inject(e, time.now + 50); }
    static bool DialogShown(const shell::Pixmap& shown) {
        // The title bar of a box on the board's side (the board's own frame lines are not one).
        for (int y = 0; y < 420; ++y) {
            int dark = 0;
            for (int x = 0; x < 290; ++x) dark += shown.At(x, y) == shell::Argb(0, 51, 51) ? 1 : 0;
            if (dark >= 200 && y != 131 && y != 412) return true;
        }
        return false;
    }

    shell::VirtualTime time;
    std::unique_ptr<shell::AppletLibrary> library;
    std::unique_ptr<shell::Run> run;
    std::unique_ptr<shell::HeadlessFrontend> frontend;
    std::unique_ptr<shell::LivePlay> play;
};

TEST_F(Live, ASettingsFileThatCouldNotBeReadIsToldOnceWhenTheWindowShows) {
    const std::string path = ::testing::TempDir() + "/live-settings.txt";
    std::ofstream(path) << "this is not a settings file\n";
    int dialogs = 0;
    Open(path);
    frontend->OnPresent([&](const shell::Pixmap& shown) { dialogs += DialogShown(shown) ? 1 : 0; });
    Later(ShellEvent::KeyDown(KeyCode::Enter));
    Frames(500);
    EXPECT_GE(dialogs, 1);
    EXPECT_FALSE(run->SettingsProblem().empty());
    EXPECT_NE(run->SettingsProblem().find(".corrupt-"), std::string::npos);
    // Once: later frames show no dialog.
    dialogs = 0;
    Frames(2000);
    EXPECT_EQ(dialogs, 0);
}

TEST_F(Live, BeforeADialogACarriedBubbleGoesBackAndThePictureIsUpToDate) {
    Open();
    Frames(300);
    play->GetControls().Handle(ShellEvent::Pointer(ShellEvent::Type::PointerDown, 130, 304));
    play->GetControls().Handle(ShellEvent::Pointer(ShellEvent::Type::PointerUp, 130, 304));
    Frames(2000);  // "Medium": the game's first wave is on the board
    shell::Host& host = run->GetHost();
    shell::HostSprite* bubble = nullptr;
    for (shell::HostSprite* s : host.MainStage().Sprites()) {
        if (!s->IsButton() && host.Events().HasSubscriber(s, host::kEventPointerMoved)) bubble = s;
    }
    ASSERT_NE(bubble, nullptr);
    const int x = bubble->X(), y = bubble->Y();
    // Picked up with a click, carried off to the right.
    play->GetControls().Handle(ShellEvent::Pointer(ShellEvent::Type::PointerDown, x + 16, y + 16));
    play->GetControls().Handle(ShellEvent::Pointer(ShellEvent::Type::PointerUp, x + 16, y + 16));
    play->GetControls().Handle(ShellEvent::Pointer(ShellEvent::Type::PointerMove, x + 90, y + 40));
    ASSERT_TRUE(play->GetControls().Assist().Carrying());
    shell::Pixmap duringDialog;
    frontend->OnPresent([&](const shell::Pixmap& shown) {
        if (DialogShown(shown)) duringDialog = shown;
    });
    Later(ShellEvent::KeyDown(KeyCode::Enter));
    host.Frame().Tell("Spherolette", "A word from the shell.");
    EXPECT_FALSE(play->GetControls().Assist().Carrying());
    EXPECT_FALSE(host.Input().Pressed());
    EXPECT_EQ(bubble->X(), x);
    EXPECT_EQ(bubble->Y(), y);
    // The picture under the dialog already shows the bubble back in its cell.
    ASSERT_GT(duringDialog.Width(), 0);
    const shell::Pixmap stage = host.MainStage().ComposeAll();
    EXPECT_EQ(duringDialog.At(x + 16, y + 16), stage.At(x + 16, y + 16));
}

int DifficultyButtons(shell::Host& host) {
    int buttons = 0;
    for (shell::HostSprite* s : host.MainStage().Sprites()) buttons += s->IsButton() ? 1 : 0;
    return buttons;
}

TEST_F(Live, TheDemoIsLabelledAndThePlayersClickEndsItAtTheTitle) {
    Open({}, /*autoplay=*/true);
    shell::Host& host = run->GetHost();
    Frames(8000);  // the bot has chosen a difficulty and is playing
    ASSERT_TRUE(host.Frame().GameActive());
    // The label, in yellow on the dark panel colour, over the top left of the stage.
    const shell::Pixmap shown = frontend->Shown();
    int yellow = 0;
    for (int y = 4; y < 24; ++y) {
        for (int x = 6; x < 200; ++x) yellow += shown.At(x, y) == shell::Argb(255, 204, 0) ? 1 : 0;
    }
    EXPECT_GT(yellow, 20);
    // A key the shell makes up itself (the bot answering a dialog) is not the player's.
    Later(ShellEvent::KeyDown(KeyCode::F12));
    Frames(200);
    ASSERT_TRUE(host.Frame().GameActive());
    // The player's key ends the demo.
    frontend->Push(ShellEvent::KeyDown(KeyCode::Space));
    Frames(100);
    ASSERT_FALSE(host.Frame().GameActive());
    EXPECT_EQ(DifficultyButtons(host), 5);
    // On the fresh title screen the bot no longer plays, and the label is gone.
    Frames(8000);
    EXPECT_FALSE(host.Frame().GameActive());
    yellow = 0;
    for (int y = 4; y < 24; ++y) {
        for (int x = 6; x < 200; ++x) {
            yellow += frontend->Shown().At(x, y) == shell::Argb(255, 204, 0) ? 1 : 0;
        }
    }
    EXPECT_EQ(yellow, 0);
}

// With the game's clock running, the loop wakes for its ticks only: the bubbles' animations
// change between ticks and are shown at the tick after, not with wakes of their own.
TEST_F(Live, AnimationsRideOnTheClocksTicks) {
    Open();
    Frames(300);
    play->GetControls().Handle(ShellEvent::Pointer(ShellEvent::Type::PointerDown, 130, 304));
    play->GetControls().Handle(ShellEvent::Pointer(ShellEvent::Type::PointerUp, 130, 304));
    Frames(2000);
    shell::Host& host = run->GetHost();
    // A bubble moved to an empty cell (a click on it, a click on the cell) starts the clock.
    auto cell = [](int i) { return std::pair{9 + 35 * (i % 8) + 16, 134 + 35 * (i / 8) + 16}; };
    int from = -1, to = -1;
    for (int i = 0; i < 64; ++i) {
        const auto [x, y] = cell(i);
        shell::HostSprite* s = host.MainStage().SpriteAt(x, y);
        const bool bubble = s != nullptr && host.Events().HasSubscriber(s, host::kEventPointerMoved);
        if (bubble && from < 0) from = i;
        if (s == nullptr && to < 0) to = i;
    }
    ASSERT_GE(from, 0);
    ASSERT_GE(to, 0);
    using Type = ShellEvent::Type;
    // The player's clicks come between ticks, and so do the animations of the bubbles the
    // move brings.
    for (const int i : {from, to}) {
        time.now += 7;
        const auto [x, y] = cell(i);
        play->GetControls().Handle(ShellEvent::Pointer(Type::PointerMove, x, y));
        play->GetControls().Handle(ShellEvent::Pointer(Type::PointerDown, x, y));
        play->GetControls().Handle(ShellEvent::Pointer(Type::PointerUp, x, y));
        Frames(100);
    }
    Frames(500);
    ASSERT_GE(host.Timers().NextDue(), 0) << "the clock runs";
    ASSERT_GE(host.Animations().NextChange(), 0) << "bubbles are animated";

    const int presentsBefore = frontend->Presents();
    int wakes = 0;
    const int64_t until = time.now + 4000;
    while (time.now < until) {
        const int64_t before = time.now;
        play->GetLoop().RunFrame();
        ++wakes;
        if (time.now == before) time.now += 1;
    }
    EXPECT_LE(wakes, 4000 / 20 + 2);
    EXPECT_GT(frontend->Presents() - presentsBefore, 20) << "the animations are shown";
}

}  // namespace
