// The input layer over the real game library, in this process: pause holds the game's time,
// click-to-move and the keyboard give the game what a drag gives it, and the relaxed clock.
#include <gtest/gtest.h>

#include "shell/posix/AppletLibrary.h"
#include "shell/session/Controls.h"
#include "shell/session/Prefs.h"
#include "shell/session/ShellEvent.h"
#include "shell/session/Viewport.h"
#include "shell/session/Session.h"
#include "shell/core/Host.h"
#include "shell/fonts/SystemFonts.h"

namespace {

using shell::SessionInput;

class Game : public ::testing::Test {
protected:
    void Open(bool relaxed = false) {
        std::string error;
        library = shell::AppletLibrary::Open(GAME_LIBRARY, &error);
        ASSERT_TRUE(library) << error;
        shell::HostOptions options;
        options.fonts = shell::fonts::SystemFonts::Source();
        options.resources = library->Resources();
        options.time = time.AsSource();
        options.seed = 5;
        options.settings = &settings;
        host = std::make_unique<shell::Host>(options);
        if (relaxed) host->Timers().SetSlowdown(2);
        session = std::make_unique<shell::Session>(*host, library->Entry());
        prefs = std::make_unique<shell::Prefs>(*host, nullptr);
        viewport.Fit(530, 420);
        controls = std::make_unique<shell::Controls>(*session, *host, *prefs, viewport, nullptr,
                                                     [this] { return real; });
        session->OnInput([this](const SessionInput& in) { inputs.push_back(in); });
        session->Start();
        session->Compose(nullptr);
    }
    void SetUp() override { Open(); }
    void TearDown() override {
        if (!session) return;
        controls.reset();
        session->Stop();
        EXPECT_TRUE(host->GetLedger().Clean()) << host->GetLedger().Report();
    }
    void Advance(int64_t ms) {
        const int64_t target = host->Clock().Now() + ms;
        for (int64_t due = host->NextDue(); due >= 0 && due <= target; due = host->NextDue()) {
            time.now += std::max<int64_t>(0, due - host->Clock().Now());
            host->Update();
        }
        time.now += target - host->Clock().Now();
        host->Update();
        session->Compose(nullptr);
    }
    void StartGame() {
        Advance(300);
        session->PointerDown(130, 304);  // "Medium"
        session->PointerUp(130, 304);
        Advance(2000);
        inputs.clear();
    }
    // The centre of a bubble the player can drag.
    std::pair<int, int> ABubble() {
        for (shell::HostSprite* s : host->MainStage().Sprites()) {
            if (!s->IsButton() && host->Events().HasSubscriber(s, host::kEventPointerMoved)) {
                const shell::Rect b = s->Bounds();
                return {b.x + b.w / 2, b.y + b.h / 2};
            }
        }
        ADD_FAILURE() << "no bubble on the board";
        return {0, 0};
    }
    static shell::ShellEvent Key(shell::KeyCode key, uint32_t mods = 0, char c = 0) {
        return shell::ShellEvent::KeyDown(key, mods, c);
    }
    static shell::ShellEvent Text(const char* text) { return shell::ShellEvent::Typed(text); }
    bool TypedOnly(char c) const {
        return inputs.size() == 1 && inputs[0].kind == SessionInput::Kind::Typed && inputs[0].x == c;
    }

    shell::VirtualTime time;
    int64_t real = 0;
    shell::MemorySettings settings;
    std::unique_ptr<shell::AppletLibrary> library;
    std::unique_ptr<shell::Host> host;
    std::unique_ptr<shell::Session> session;
    std::unique_ptr<shell::Prefs> prefs;
    shell::Viewport viewport{530, 420};
    std::unique_ptr<shell::Controls> controls;
    std::vector<SessionInput> inputs;
};

std::vector<std::tuple<int, int, int>> Trace(const std::vector<SessionInput>& inputs) {
    std::vector<std::tuple<int, int, int>> out;
    for (const SessionInput& in : inputs) out.emplace_back(static_cast<int>(in.kind), in.x, in.y);
    return out;
}

TEST_F(Game, PauseStopsTheGamesTimeAndCountsInBeforeItRunsAgain) {
    StartGame();
    int64_t ticks = 0;
    int32_t lastValue = -1;
    struct Seen { int64_t* ticks; int32_t* value; } seen{&ticks, &lastValue};
    host::Timer* timer = host->Factory().CreateTimer(&seen, 100, [](const host::Event* e) {
        auto* s = static_cast<Seen*>(e->context);
        ++*s->ticks;
        *s->value = e->value;
        return 0;
    });
    timer->Start();
    Advance(250);
    EXPECT_EQ(ticks, 2);
    const int64_t before = host->Clock().Now();

    controls->Handle(Key(shell::KeyCode::Escape));
    EXPECT_TRUE(controls->GetPause().Active());
    EXPECT_TRUE(session->PanelShown());
    time.now += 60000;  // a minute away from the game
    host->Update();
    EXPECT_EQ(ticks, 2);
    EXPECT_EQ(host->Clock().Now(), before);
    // Nothing reaches the game while paused: not a typed letter, not a key.
    controls->Handle(Text("c"));
    controls->Handle(Key(shell::KeyCode::F1));
    EXPECT_TRUE(inputs.empty());
    EXPECT_FALSE(session->HelpShown());

    // Ctrl+P goes on: the count-in shows 3, 2, 1 on the real clock, time still held.
    controls->Handle(Key(shell::KeyCode::Character, shell::kModCtrl, 'p'));
    EXPECT_EQ(controls->GetPause().GetState(), shell::Pause::State::CountingIn);
    real += shell::Pause::kCountStepMs * 2;
    controls->Frame();
    time.now += 5000;
    host->Update();
    EXPECT_EQ(ticks, 2);
    real += shell::Pause::kCountStepMs;
    controls->Frame();
    EXPECT_FALSE(controls->GetPause().Active());
    EXPECT_FALSE(session->PanelShown());

    Advance(100);
    EXPECT_EQ(ticks, 3);
    EXPECT_EQ(lastValue, 300);  // the paused minute is not in the timer's value
    EXPECT_TRUE(inputs.empty());
    timer->Release();
}

TEST_F(Game, LosingFocusPausesAndEscapeStillClosesTheHelpPage) {
    StartGame();
    controls->Handle(shell::ShellEvent::Of(shell::ShellEvent::Type::FocusLost));
    EXPECT_TRUE(controls->GetPause().Active());
    controls->GetPause().Continue();
    real += 10000;
    controls->Frame();
    ASSERT_FALSE(controls->GetPause().Active());

    session->ShowHelp();
    inputs.clear();
    controls->Handle(Key(shell::KeyCode::Escape));
    EXPECT_FALSE(session->HelpShown());
    // Escape never reaches the game as a typed character.
    for (const SessionInput& in : inputs) EXPECT_NE(in.kind, SessionInput::Kind::Typed);
}

TEST_F(Game, OnTheTitleScreenNothingPausesSinceNothingRuns) {
    Advance(300);
    controls->Handle(Key(shell::KeyCode::Escape));
    controls->Handle(Key(shell::KeyCode::Character, shell::kModCtrl, 'p'));
    controls->Handle(shell::ShellEvent::Of(shell::ShellEvent::Type::FocusLost));
    EXPECT_FALSE(controls->GetPause().Active());
    EXPECT_FALSE(session->PanelShown());
    // The help control still answers at once: no count-in stands in its way.
    const shell::Rect help = shell::Session::kHelpControl;
    controls->Handle(shell::ShellEvent::Pointer(shell::ShellEvent::Type::PointerDown, help.x + 6, help.y + 6));
    controls->Handle(shell::ShellEvent::Pointer(shell::ShellEvent::Type::PointerUp, help.x + 6, help.y + 6));
    EXPECT_TRUE(session->HelpShown());
}

TEST_F(Game, HelpDuringAGameHoldsItsTimeAndPlayGoesOnThroughTheCountIn) {
    StartGame();
    const auto [x, y] = ABubble();
    session->PointerDown(x, y);  // the first move starts the game's clock
    session->PointerUp(x + shell::Session::kCursorCell, y);
    Advance(500);
    const int64_t before = host->Clock().Now();
    controls->Handle(Key(shell::KeyCode::F1));
    ASSERT_TRUE(session->HelpShown());
    EXPECT_EQ(controls->GetPause().GetState(), shell::Pause::State::Help);
    time.now += 120000;  // two minutes reading
    real += 120000;
    host->Update();
    controls->Frame();
    EXPECT_EQ(host->Clock().Now(), before);
    controls->Handle(Key(shell::KeyCode::F1));
    EXPECT_FALSE(session->HelpShown());
    EXPECT_EQ(controls->GetPause().GetState(), shell::Pause::State::CountingIn);
    real += shell::Pause::kCountFrom * shell::Pause::kCountStepMs;
    controls->Frame();
    EXPECT_FALSE(controls->GetPause().Active());
    EXPECT_EQ(host->Clock().Now(), before);
}

TEST_F(Game, APauseHidesTheBoardAndTheNextPhaseEntirely) {
    StartGame();
    const shell::Pixmap playing = session->Frame();
    controls->Handle(Key(shell::KeyCode::Escape));
    Advance(0);
    const shell::Pixmap paused = session->Frame();
    const uint32_t cover = shell::Argb(0, 51, 51);
    int boardCovered = 0, boardCells = 0;
    for (int y = 131; y < 413; y += 3) {
        for (int x = 6; x < 288; x += 3) {
            ++boardCells;
            boardCovered += paused.At(x, y) == cover ? 1 : 0;
        }
    }
    // All but the "Paused" box's own letters, which lie over the board.
    EXPECT_GT(boardCovered, boardCells * 9 / 10);
    for (int y = 275; y < 345; y += 5) {
        for (int x = 316; x < 500; x += 5) ASSERT_EQ(paused.At(x, y), cover) << x << "," << y;
    }
    EXPECT_NE(playing.At(20, 150), paused.At(20, 150));
}

TEST_F(Game, ClickToMoveAndKeyboardGiveTheGameTheSameEventsAsADrag) {
    StartGame();
    const auto [x, y] = ABubble();
    const int tx = x + 2 * shell::Session::kCursorCell, ty = y;

    // Keyboard: the cursor starts on a bubble; Space picks it up, two steps right, Space drops.
    controls->Handle(Key(shell::KeyCode::Right));
    ASSERT_EQ(session->Cursor(), std::make_pair(x, y));
    inputs.clear();
    controls->Handle(Key(shell::KeyCode::Space));
    controls->Handle(Text(" "));  // the space is not typed as well
    EXPECT_TRUE(controls->Assist().Carrying());
    controls->Handle(Key(shell::KeyCode::Right));
    controls->Handle(Key(shell::KeyCode::Right));
    controls->Handle(Key(shell::KeyCode::Space));
    EXPECT_FALSE(controls->Assist().Carrying());
    const auto keyboard = Trace(inputs);
    controls->Assist().HideCursor();  // compare the game's pictures without it
    Advance(1000);
    const shell::Pixmap afterKeyboard = session->Frame();

    // The same move as a drag, in a fresh game from the same seed.
    controls.reset();
    session->Stop();
    session.reset();
    host.reset();
    Open();
    StartGame();
    ASSERT_EQ(ABubble(), std::make_pair(x, y));
    session->PointerDown(x, y);
    session->PointerMove(x + shell::Session::kCursorCell, y);
    session->PointerMove(tx, ty);
    session->PointerUp(tx, ty);
    const auto drag = Trace(inputs);
    Advance(1000);
    EXPECT_EQ(keyboard, drag);
    const shell::Pixmap afterDrag = session->Frame();
    EXPECT_TRUE(std::equal(afterDrag.Data(), afterDrag.Data() + 530 * 420, afterKeyboard.Data()));

    // Click to pick up, the pointer carries it, a second click drops it.
    controls.reset();
    session->Stop();
    session.reset();
    host.reset();
    Open();
    StartGame();
    controls->Assist().Down(x, y);
    controls->Assist().Up(x, y);
    EXPECT_TRUE(controls->Assist().Carrying());
    controls->Assist().MoveUnheld(x + shell::Session::kCursorCell, y);  // no button held
    controls->Assist().MoveUnheld(tx, ty);
    controls->Assist().Down(tx, ty);
    controls->Assist().Up(tx, ty);
    EXPECT_EQ(Trace(inputs), drag);
    Advance(1000);
    EXPECT_TRUE(std::equal(afterDrag.Data(), afterDrag.Data() + 530 * 420, session->Frame().Data()));
}

TEST_F(Game, TabVisitsTheButtonsAndEnterPressesOne) {
    Advance(300);
    std::vector<std::pair<int, int>> visited;
    bool helpVisited = false;
    for (int i = 0; i < 12; ++i) {
        controls->Handle(Key(shell::KeyCode::Tab));
        ASSERT_TRUE(session->Cursor());
        const auto [vx, vy] = *session->Cursor();
        visited.emplace_back(vx, vy);
        // Each stop is a control: a sprite that answers clicks, or the help control.
        helpVisited = helpVisited || shell::Session::kHelpControl.Contains(vx, vy);
        ASSERT_TRUE(host->MainStage().SpriteAt(vx, vy) != nullptr ||
                    shell::Session::kHelpControl.Contains(vx, vy));
    }
    EXPECT_TRUE(helpVisited);
    std::sort(visited.begin(), visited.end());
    visited.erase(std::unique(visited.begin(), visited.end()), visited.end());
    EXPECT_GE(visited.size(), 3u);  // several controls, cycled through
    // The ring goes around the control, clear of its label: the middle keeps its own pixels.
    while (!host->MainStage().SpriteAt(session->Cursor()->first, session->Cursor()->second) ||
           !host->MainStage().SpriteAt(session->Cursor()->first, session->Cursor()->second)->IsButton()) {
        controls->Handle(Key(shell::KeyCode::Tab));
    }
    Advance(0);
    const auto [bx, by] = *session->Cursor();
    EXPECT_EQ(session->Frame().At(bx, by), host->MainStage().ComposeAll().At(bx, by));
    // Enter on a difficulty button starts a game as a click does.
    inputs.clear();
    controls->Handle(Key(shell::KeyCode::Enter));
    ASSERT_EQ(inputs.size(), 2u);
    EXPECT_EQ(inputs[0].kind, SessionInput::Kind::Down);
    EXPECT_EQ(inputs[1].kind, SessionInput::Kind::Up);
    EXPECT_EQ(inputs[0].x, inputs[1].x);
    // Without the cursor, Enter and Space are the game's typed characters.
    controls->Assist().HideCursor();
    inputs.clear();
    controls->Handle(Key(shell::KeyCode::Enter));
    EXPECT_TRUE(TypedOnly('\r'));
    inputs.clear();
    controls->Handle(Key(shell::KeyCode::Space));
    EXPECT_TRUE(inputs.empty());  // the text that follows is what the game is given
    controls->Handle(Text(" "));
    EXPECT_TRUE(TypedOnly(' '));
    inputs.clear();
    controls->Handle(Text("c"));
    EXPECT_TRUE(TypedOnly('c'));
}

TEST(RelaxedClock, TimersSeeHalfTheTimeAndTickHalfAsOften) {
    shell::VirtualTime time;
    shell::HostOptions options;
    options.fonts = shell::fonts::SystemFonts::Source();
    options.time = time.AsSource();
    shell::Host host(options);
    host.Timers().SetSlowdown(2);
    std::vector<int32_t> values;
    host::Timer* timer = host.Factory().CreateTimer(&values, 100, [](const host::Event* e) {
        static_cast<std::vector<int32_t>*>(e->context)->push_back(e->value);
        return 0;
    });
    timer->Start();
    EXPECT_EQ(host.NextDue(), 200);  // applet time
    for (time.now = 0; time.now <= 450; time.now += 10) host.Update();
    EXPECT_EQ(values, (std::vector<int32_t>{100, 200}));
    timer->Release();
}

}  // namespace
