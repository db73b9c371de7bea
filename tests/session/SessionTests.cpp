// The session over the real game library, in this process: the help panel and its control,
// and redrawing only what changed while a game runs.
#include <gtest/gtest.h>

#include "shell/posix/AppletLibrary.h"
#include "shell/session/Session.h"
#include "tests/core/HostHarness.h"
#include "shell/fonts/SystemFonts.h"

namespace {

using shell::HostSprite;

class GameSession : public ::testing::Test {
protected:
    void SetUp() override {
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
        session = std::make_unique<shell::Session>(*host, library->Entry());
        session->Start();
        session->Compose(nullptr);
    }
    void TearDown() override {
        if (!session) return;
        session->Stop();
        EXPECT_TRUE(host->GetLedger().Clean()) << host->GetLedger().Report();
        session.reset();
        host.reset();
    }
    void Advance(int64_t ms) {
        const int64_t target = host->Clock().Now() + ms;
        for (int64_t due = host->NextDue(); due >= 0 && due <= target; due = host->NextDue()) {
            time.now += std::max<int64_t>(0, due - host->Clock().Now());
            host->Update();
        }
        time.now += target - host->Clock().Now();
        host->Update();
    }
    void Click(int x, int y) {
        session->PointerDown(x, y);
        session->PointerUp(x, y);
    }
    HostSprite* SpriteAt(int x, int y) { return host->MainStage().SpriteAt(x, y); }

    shell::VirtualTime time;
    shell::MemorySettings settings;
    std::unique_ptr<shell::AppletLibrary> library;
    std::unique_ptr<shell::Host> host;
    std::unique_ptr<shell::Session> session;
};

TEST_F(GameSession, HelpControlShowsTheHelpPageUntilEscapeAndHoldsInputMeanwhile) {
    const shell::Rect control = shell::Session::kHelpControl;
    EXPECT_EQ(session->Frame().At(control.x + control.w / 2, control.y + 1), shell::Argb(0, 51, 51));
    Click(control.x + 6, control.y + 6);
    ASSERT_TRUE(session->HelpShown());
    session->Compose(nullptr);
    // The applet drew its page on the help stage, and that is what is shown.
    EXPECT_EQ(session->Frame().At(5, 5), host->HelpStage().Background()->Pixels().At(5, 5));
    EXPECT_NE(session->Frame().At(5, 5), host->MainStage().Background()->Pixels().At(5, 5));
    // A click on "Medium" while the help shows only closes the help.
    Click(130, 304);
    EXPECT_FALSE(session->HelpShown());
    EXPECT_FALSE(host->Frame().GameActive());
    session->HelpKey();
    EXPECT_TRUE(session->HelpShown());
    session->EscapeKey();
    EXPECT_FALSE(session->HelpShown());
}

TEST_F(GameSession, GameTickRedrawsOnlyTheClockBar) {
    Click(18, 401);    // "Use Animated Bubbles" off: bubbles stand still
    Click(130, 304);   // "Medium"
    ASSERT_TRUE(host->Frame().GameActive());
    Advance(100);
    session->Compose(nullptr);
    // Move some bubble to an empty cell, which starts the move clock.
    HostSprite* bubble = nullptr;
    for (HostSprite* s : host->MainStage().Sprites()) {
        if (s->Bounds().w == 32 && s->Y() >= 134) bubble = s;
    }
    ASSERT_NE(bubble, nullptr);
    int targetX = -1, targetY = -1;
    for (int cell = 0; cell < 64 && targetX < 0; ++cell) {
        const int x = 9 + 35 * (cell % 8) + 16, y = 134 + 35 * (cell / 8) + 16;
        if (SpriteAt(x, y) == nullptr) {
            targetX = x;
            targetY = y;
        }
    }
    session->PointerDown(bubble->X() + 16, bubble->Y() + 16);
    session->PointerMove(targetX, targetY);
    session->PointerUp(targetX, targetY);
    Advance(200);
    session->Compose(nullptr);

    shell::DirtyRegion changed;
    Advance(20);
    session->Compose(&changed);
    const shell::Rect bar{290, 133, 10, 287};
    for (const shell::Rect& r : changed.Rects()) {
        EXPECT_EQ(r.Intersect(bar), r) << r.x << "," << r.y << " " << r.w << "x" << r.h;
    }
}

}  // namespace
