// A game on the real game library in this process, on a virtual clock, for tests of what the
// shell does around it: the host, the session and the remembered options, and the few moves
// a test needs (wait, click, drag a bubble, find the bubbles).
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/GameLook.h"
#include "shell/core/Host.h"
#include "shell/posix/AppletLibrary.h"
#include "shell/session/Prefs.h"
#include "shell/session/Session.h"
#include "shell/fonts/SystemFonts.h"

namespace shell_test {

class LiveGame : public ::testing::Test {
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
        prefs = std::make_unique<shell::Prefs>(*host, nullptr);
    }
    void TearDown() override {
        if (!session) return;
        session->Stop();
        EXPECT_TRUE(host->GetLedger().Clean()) << host->GetLedger().Report();
        session.reset();
        host.reset();
    }
    void Start() {
        session->Start();
        session->Compose(nullptr);
    }
    // Moves the applet's time on, running every tick and frame change on the way.
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
    // "Medium" on the title screen.
    void StartMedium() { Click(130, 304); }
    // The bubbles a player can drag.
    std::vector<shell::HostSprite*> Bubbles() {
        std::vector<shell::HostSprite*> out;
        for (shell::HostSprite* s : host->MainStage().Sprites()) {
            if (!s->IsButton() && host->Events().HasSubscriber(s, host::kEventPointerMoved)) {
                out.push_back(s);
            }
        }
        return out;
    }
    // Drags the first bubble to the first empty cell; false when there is none.
    bool MoveABubble() {
        const std::vector<shell::HostSprite*> bubbles = Bubbles();
        if (bubbles.empty()) return false;
        for (int cell = 0; cell < 64; ++cell) {
            const int x = host::look::BubbleLeft(cell % 8) + 16;
            const int y = host::look::BubbleTop(cell / 8) + 16;
            if (host->MainStage().SpriteAt(x, y) != nullptr) continue;
            const shell::Rect b = bubbles.front()->Bounds();
            session->PointerDown(b.x + 16, b.y + 16);
            session->PointerMove(x, y);
            session->PointerUp(x, y);
            return true;
        }
        return false;
    }

    shell::VirtualTime time;
    shell::MemorySettings settings;
    std::unique_ptr<shell::AppletLibrary> library;
    std::unique_ptr<shell::Host> host;
    std::unique_ptr<shell::Session> session;
    std::unique_ptr<shell::Prefs> prefs;
};

}  // namespace shell_test
