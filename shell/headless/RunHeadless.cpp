// The headless run.
#include "shell/headless/RunHeadless.h"

#include <cstdio>
#include <fstream>
#include <sstream>

#include "shell/bot/Autoplay.h"
#include "shell/fonts/SystemFonts.h"
#include "shell/settings/FileStorage.h"
#include "shell/headless/HeadlessFrontend.h"
#include "shell/headless/HeadlessRunner.h"
#include "shell/posix/StartTime.h"
#include "shell/session/Run.h"
#include "shell/headless/Script.h"

namespace shell {

namespace {
bool ReadScript(const std::string& path, std::vector<ScriptCommand>* commands) {
    if (path.empty()) return true;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "spherolette: cannot read script %s\n", path.c_str());
        return false;
    }
    std::stringstream text;
    text << in.rdbuf();
    std::string error;
    if (!ParseScript(text.str(), commands, &error)) {
        std::fprintf(stderr, "spherolette: %s: %s\n", path.c_str(), error.c_str());
        return false;
    }
    return true;
}
}  // namespace

int RunHeadless(const Options& options, const AppletEntry& applet) {
    std::vector<ScriptCommand> commands;
    if (!ReadScript(options.script, &commands)) return kExitUsage;
    VirtualTime time;
    RunSetup setup;
    setup.time = time.AsSource();
    setup.sound = SoundBank::Mode::Silent;
    setup.memoryStoreByDefault = true;
    setup.fonts = fonts::SystemFonts::Source(fonts::SystemFonts::DefaultMemoryFile());
    setup.openFile = FileStorage::Open;
    int code = kExitOk;
    std::unique_ptr<Run> run = Run::Open(options, applet, setup, &code);
    if (!run) return code;
    if (!run->FontsFound()) return kExitNoFont;
    Host& host = run->GetHost();
    Session& session = run->GetSession();
    session.Start();
    // The title screen is ready to be shown: nothing is composed until a screenshot asks.
    ReportFirstFrame(options.reportFirstFrame);

    HeadlessRunner runner(session, host, time, run->Scripted());
    if (run->HasReplay()) {
        ReplayPlayer player(run->GetReplay(), session, host,
                            [&](int64_t t) { time.now += t - host.Clock().Now(); });
        player.PlayAll();
    }
    runner.Run(commands);
    std::string fault;
    if (options.autoplay && !runner.QuitAccepted()) {
        fault = bot::PlayHeadless(run->Used(), session, host,
                                  [&](int64_t ms) { runner.Wait(ms); }, run->StoreForBot());
    }
    if (!options.screenshot.empty()) runner.Screenshot(options.screenshot, false);
    return run->Finish(fault);
}

}  // namespace shell
