// Headless runs compose their frames only when a screenshot asks: the pictures are the same as
// when every step is composed, as a window does.
#include <gtest/gtest.h>

#include "shell/headless/HeadlessRunner.h"
#include "shell/headless/Script.h"
#include "shell/posix/AppletLibrary.h"
#include "shell/fonts/SystemFonts.h"

namespace {

struct Pictures {
    shell::Pixmap main, help, frame;
};

// A game of Medium from a fixed seed: a few drags and waits, the help page, more play.
Pictures Play(bool composeEveryStep) {
    std::string error;
    auto library = shell::AppletLibrary::Open(GAME_LIBRARY, &error);
    EXPECT_TRUE(library) << error;
    shell::VirtualTime time;
    shell::ScriptedDialogs dialogs;
    shell::HostOptions options;
    options.fonts = shell::fonts::SystemFonts::Source();
    options.resources = library->Resources();
    options.time = time.AsSource();
    options.seed = 77;
    options.dialogs = &dialogs;
    shell::Host host(options);
    shell::Session session(host, library->Entry());
    session.Start();
    shell::HeadlessRunner runner(session, host, time, dialogs);
    runner.ComposeEveryStep(composeEveryStep);
    std::string script = "wait 300\nclick 130 304\nwait 1500\n";
    for (int k = 0; k < 24; ++k) {
        const int from = (k * 7 + 3) % 64, to = (k * 13 + 5) % 64;
        script += "drag " + std::to_string(25 + 35 * (from % 8)) + " " +
                  std::to_string(150 + 35 * (from / 8)) + " " + std::to_string(25 + 35 * (to % 8)) +
                  " " + std::to_string(150 + 35 * (to / 8)) + "\nwait 700\n";
        if (k == 12) script += "help\nwait 200\nhelp\n";
    }
    std::vector<shell::ScriptCommand> commands;
    EXPECT_TRUE(shell::ParseScript(script, &commands, &error)) << error;
    runner.Run(commands);
    Pictures out;
    out.main = session.Picture(false);
    out.help = session.Picture(true);
    session.Compose(nullptr);  // whatever was left to compose, at once
    out.frame = session.Frame();
    session.Stop();
    EXPECT_TRUE(host.GetLedger().Clean()) << host.GetLedger().Report();
    return out;
}

TEST(ComposeOnDemand, ScreenshotsAreTheSameAsWhenEveryStepIsComposed) {
    const Pictures lazy = Play(false);
    const Pictures eager = Play(true);
    EXPECT_TRUE(lazy.main == eager.main);
    EXPECT_TRUE(lazy.help == eager.help);
    // A frame composed once after a whole game of changes is the frame composed step by step.
    EXPECT_TRUE(lazy.frame == eager.frame);
    EXPECT_TRUE(eager.frame == eager.main);
}

}  // namespace
