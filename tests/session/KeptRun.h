// A run of the real game library set up as the program sets one up (Run::Open), on a virtual
// clock, keeping its games in a folder of its own, with a RunControl to start the game afresh
// and to resume a kept game. Several runs may follow one another in one test, as program starts.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "host/GameLook.h"
#include "shell/posix/AppletLibrary.h"
#include "shell/session/Run.h"
#include "shell/session/RunControl.h"
#include "shell/settings/FileStorage.h"
#include "shell/fonts/SystemFonts.h"

namespace shell_test {

class KeptRun : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("kept-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        std::string error;
        library = shell::AppletLibrary::Open(GAME_LIBRARY, &error);
        ASSERT_TRUE(library) << error;
    }
    void TearDown() override {
        Close();
        std::filesystem::remove_all(dir);
    }
    std::string Settings() const { return (dir / "settings.txt").string(); }
    std::string KeptPath() const { return (dir / "settings.resume").string(); }

    // Opens a run as a program start does; `seed` fixes the game's random numbers.
    void Open(uint64_t seed) {
        Close();
        shell::Options options;
        options.settings = Settings();
        options.seed = seed;
        shell::RunSetup setup;
        setup.time = time.AsSource();
        setup.keepGames = true;
        setup.openFile = shell::FileStorage::Open;
        setup.fonts = shell::fonts::SystemFonts::Source();
        int code = 0;
        run = shell::Run::Open(options, library->Entry(), setup, &code);
        ASSERT_TRUE(run) << code;
        host().Frame().SetDialogs(&dialogs);
        control = std::make_unique<shell::RunControl>(
            *run, shell::RunControl::Steering{
                      [this](int64_t t) { time.now += t - host().Clock().Now(); }, [] {}});
        session().Start();
    }
    // Quits as the program does; the ledger's verdict.
    int Close() {
        if (!run) return 0;
        const int code = run->Finish("");
        control.reset();
        run.reset();
        return code;
    }

    shell::Host& host() { return run->GetHost(); }
    shell::Session& session() { return run->GetSession(); }

    void Advance(int64_t ms) {
        const int64_t target = host().Clock().Now() + ms;
        for (int64_t due = host().NextDue(); due >= 0 && due <= target; due = host().NextDue()) {
            time.now += std::max<int64_t>(0, due - host().Clock().Now());
            host().Update();
            control->Frame();
        }
        time.now += target - host().Clock().Now();
        host().Update();
        control->Frame();
    }
    void Click(int x, int y) {
        session().PointerDown(x, y);
        session().PointerUp(x, y);
        control->Frame();
    }
    // Drags a bubble to an empty cell (which starts the move clock); false when it cannot.
    bool MoveABubble() {
        shell::HostStage& stage = host().MainStage();
        shell::HostSprite* bubble = nullptr;
        for (shell::HostSprite* s : stage.Sprites()) {
            if (!s->IsButton() && host().Events().HasSubscriber(s, host::kEventPointerMoved)) {
                bubble = s;
            }
        }
        if (bubble == nullptr) return false;
        for (int cell = 0; cell < 64; ++cell) {
            const int x = host::look::BubbleLeft(cell % 8) + 16;
            const int y = host::look::BubbleTop(cell / 8) + 16;
            if (stage.SpriteAt(x, y) != nullptr) continue;
            session().PointerDown(bubble->X() + 16, bubble->Y() + 16);
            session().PointerMove(x, y);
            session().PointerUp(x, y);
            return true;
        }
        return false;
    }
    // The main stage as the player sees it.
    shell::Pixmap Picture() {
        session().Compose(nullptr);
        return session().Picture(false);
    }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    std::filesystem::path dir;
    std::unique_ptr<shell::AppletLibrary> library;
    shell::VirtualTime time;
    shell::ScriptedDialogs dialogs;
    std::unique_ptr<shell::Run> run;
    std::unique_ptr<shell::RunControl> control;
};

}  // namespace shell_test
