// Start-up and shut-down of the shell.
#include "shell/app/Program.h"

#include <SDL.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>

#include "shell/app/AppletLibrary.h"
#include "shell/app/HeadlessRunner.h"
#include "shell/app/MainLoop.h"
#include "shell/app/Options.h"
#include "shell/app/Script.h"
#include "shell/app/Session.h"
#include "shell/app/StartTime.h"
#include "shell/app/Window.h"
#include "shell/app/WindowDialogs.h"
#include "shell/core/Host.h"
#include "shell/core/Log.h"
#include "shell/settings/SettingsFile.h"

#ifndef SHELL_VERSION
#define SHELL_VERSION "0"
#endif

namespace shell {

namespace {

// With --trace, how long start-up took up to each step.
void StartupStep(const char* step) {
    if (TraceEnabled()) TraceLine("start-up: " + std::string(step) + " at " +
                                  std::to_string(static_cast<int>(MsSinceProcessStart())) + " ms");
}

void ReportFirstFrame(const Options& options) {
    StartupStep("first frame shown");
    if (!options.reportFirstFrame) return;
    std::printf("first-frame-ms %.1f\n", MsSinceProcessStart());
    std::fflush(stdout);
}

// The applet's keys live under its name in the settings file.
std::string SettingsPrefix(const AppletLibrary& library) {
    std::string name = library.String(host::kStringName);
    return (name.empty() ? std::string("applet") : name) + ".";
}

std::string DefaultSettingsPath() {
    char* base = SDL_GetPrefPath("", "spherolette");
    if (base == nullptr) return "settings.txt";
    std::string path = std::string(base) + "settings.txt";
    SDL_free(base);
    return path;
}

// The settings store for a run: the file given, the user's file, or (headless without a
// file given) memory only, so tests never touch the player's scores.
struct Store {
    std::unique_ptr<SettingsFile> file;
    std::unique_ptr<SettingsView> view;
    host::SettingsStore* Get() { return view.get(); }
};

Store OpenStore(const Options& options, const AppletLibrary& library) {
    Store store;
    std::string path = options.settings;
    if (path.empty() && options.headless) return store;
    if (path.empty()) path = DefaultSettingsPath();
    store.file = std::make_unique<SettingsFile>(
        path, [](const std::string& line) { Log("%s", line.c_str()); });
    store.view = store.file->View(SettingsPrefix(library));
    return store;
}

int CheckLedger(Host& host) {
    Ledger& ledger = host.GetLedger();
    if (ledger.Clean()) return kExitOk;
    std::fprintf(stderr, "spherolette: the game's objects were not given back properly:\n%s",
                 ledger.Report().c_str());
    return kExitLedger;
}

int RunHeadless(const Options& options, AppletLibrary& library) {
    std::vector<ScriptCommand> commands;
    if (!options.script.empty()) {
        std::ifstream in(options.script, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "spherolette: cannot read script %s\n", options.script.c_str());
            return kExitUsage;
        }
        std::stringstream text;
        text << in.rdbuf();
        std::string error;
        if (!ParseScript(text.str(), &commands, &error)) {
            std::fprintf(stderr, "spherolette: %s: %s\n", options.script.c_str(), error.c_str());
            return kExitUsage;
        }
    }
    Store store = OpenStore(options, library);
    VirtualTime time;
    ScriptedDialogs dialogs;
    HostOptions hostOptions;
    hostOptions.resources = library.Resources();
    hostOptions.time = time.AsSource();
    hostOptions.sound = SoundBank::Mode::Silent;
    hostOptions.seed = options.seed;
    hostOptions.settings = store.Get();
    hostOptions.dialogs = &dialogs;
    hostOptions.fontMemoryFile = FontCache::DefaultMemoryFile();
    Host host(hostOptions);
    Session session(host, library);
    session.Start();
    session.Compose(nullptr);
    ReportFirstFrame(options);

    HeadlessRunner runner(session, host, time, dialogs);
    runner.Run(commands);
    if (!options.screenshot.empty()) runner.Screenshot(options.screenshot, false);
    session.Stop();
    return CheckLedger(host);
}

int RunWindowed(const Options& options, AppletLibrary& library) {
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // Closing the window asks first during a game; SDL_QUIT then only comes from signals.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    int code = kExitOk;
    {
        Store store = OpenStore(options, library);
        HostOptions hostOptions;
        hostOptions.resources = library.Resources();
        hostOptions.sound = SoundBank::Mode::Device;
        hostOptions.seed = options.seed;
        hostOptions.settings = store.Get();
        hostOptions.fontMemoryFile = FontCache::DefaultMemoryFile();
        hostOptions.prefetchImages = true;
        // Fonts and pictures load on other threads while the window opens.
        Host host(hostOptions);
        StartupStep("host ready");
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            std::fprintf(stderr, "spherolette: no display: %s\n", SDL_GetError());
            return kExitNoWindow;
        }
        StartupStep("video ready");

        std::string error;
        std::unique_ptr<Window> window =
            Window::Open(host::kStageWidth, host::kStageHeight, options.scale, &error);
        if (!window) {
            std::fprintf(stderr, "spherolette: %s\n", error.c_str());
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
            return kExitNoWindow;
        }
        StartupStep("window open");
        Session session(host, library);
        WindowDialogs dialogs(*window, host.Fonts(), session.Frame());
        host.Frame().SetDialogs(&dialogs);
        host.Frame().OnTitle([&](const std::string& title) { window->SetTitle(title); });

        session.Start();
        StartupStep("applet started");
        MainLoop loop(session, host, *window, dialogs);
        loop.OnFirstFrame([&] { ReportFirstFrame(options); });
        loop.Run();
        if (!options.screenshot.empty()) SavePicture(session.Picture(false), options.screenshot);
        session.Stop();
        host.Frame().SetDialogs(nullptr);
        code = CheckLedger(host);
        window.reset();
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    SDL_Quit();
    return code;
}

}  // namespace

int RunProgram(int argc, char** argv) {
    MarkMainStart();
    Options options;
    std::string error;
    if (!ParseOptions(argc, argv, &options, &error)) {
        std::fprintf(stderr, "spherolette: %s\n", error.c_str());
        return kExitUsage;
    }
    if (options.help) {
        std::fputs(UsageText().c_str(), stdout);
        return kExitOk;
    }
    SetTraceEnabled(options.trace);
    StartupStep("main");

    std::unique_ptr<AppletLibrary> library =
        options.library.empty()
            ? AppletLibrary::OpenFirst(LibraryCandidates(ExecutableDirectory()), &error)
            : AppletLibrary::Open(options.library, &error);
    if (!library) {
        std::fprintf(stderr, "spherolette: %s\n", error.c_str());
        return kExitNoLibrary;
    }
    if (options.version) {
        const std::string version = library->String(host::kStringVersion);
        std::printf("Spherolette %s (shell %s)\n", version.empty() ? "?" : version.c_str(),
                    SHELL_VERSION);
        return kExitOk;
    }
    return options.headless ? RunHeadless(options, *library) : RunWindowed(options, *library);
}

}  // namespace shell
