// Start-up and shut-down of the shell.
#include "shell/app/Program.h"

#include <SDL.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>

#include "shell/app/AppletLibrary.h"
#include "shell/app/Comforts.h"
#include "shell/app/Replay.h"
#include "shell/app/HeadlessRunner.h"
#include "shell/app/MainLoop.h"
#include "shell/app/Options.h"
#include "shell/app/Script.h"
#include "shell/app/Session.h"
#include "shell/app/StartTime.h"
#include "shell/app/Window.h"
#include "shell/app/WindowDialogs.h"
#include "shell/bot/Autoplay.h"
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

// The applet's keys live under its name in the settings file; with the relaxed clock under
// a namespace of their own, so relaxed scores never mix with the standard ones.
std::string SettingsPrefix(const AppletLibrary& library, bool relaxed) {
    std::string name = library.String(host::kStringName);
    return std::string(relaxed ? "Relaxed." : "") + (name.empty() ? std::string("applet") : name) +
           ".";
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
// A replay without a file given runs on the recorded values in memory, so playing it back
// never touches the player's scores.
struct Store {
    std::unique_ptr<SettingsFile> file;
    std::unique_ptr<SettingsView> view;
    std::unique_ptr<SettingsView> shellView;  // the shell's own options
    MemorySettings memory;
    bool inMemory = false;
    host::SettingsStore* Get() { return view ? static_cast<host::SettingsStore*>(view.get())
                                             : inMemory ? &memory : nullptr; }
    // The game's keys as they are now.
    SettingsEntries GameValues() const {
        SettingsEntries entries;
        if (view) {
            for (const auto& [key, value] : file->Values()) {
                if (key.rfind(view->Prefix(), 0) == 0) {
                    entries.emplace_back(key.substr(view->Prefix().size()), value);
                }
            }
        }
        return entries;
    }
};

Store OpenStore(const Options& options, const AppletLibrary& library, const Replay* replay) {
    Store store;
    std::string path = options.settings;
    if (replay != nullptr && path.empty()) {
        store.inMemory = true;
        for (const auto& [key, value] : replay->settings) store.memory.values[key] = value;
        return store;
    }
    if (path.empty() && options.headless) return store;
    if (path.empty()) path = DefaultSettingsPath();
    store.file = std::make_unique<SettingsFile>(
        path, [](const std::string& line) { Log("%s", line.c_str()); });
    store.view = store.file->View(SettingsPrefix(library, options.relaxed));
    store.shellView = store.file->View(ShellPrefs::kPrefix);
    if (replay != nullptr && !replay->settings.empty()) store.view->WriteMany(replay->settings);
    return store;
}

// Options on the command line win over remembered ones, and are remembered.
void ApplyComfortOptions(const Options& options, Comforts& comforts) {
    if (options.volume) comforts.SetVolume(*options.volume);
    if (options.symbols) comforts.SetSymbols(*options.symbols);
}

// A recording needs the seed: one is chosen here when none was given.
uint64_t ChooseSeed(const Options& options) {
    if (options.seed) return *options.seed;
    std::random_device device;
    return (uint64_t{device()} << 32) ^ device();
}

std::unique_ptr<ReplayRecorder> StartRecording(const Options& options, const Store& store,
                                               bool symbols, std::string* error) {
    Replay header;
    header.seed = *options.seed;
    header.relaxed = options.relaxed;
    header.symbols = symbols;
    header.settings = store.GameValues();
    return ReplayRecorder::Open(options.record, header, error);
}

bot::StoreToCheck StoreForBot(const Store& store) {
    if (!store.file) return {};
    return {store.file->Path(), store.view->Prefix()};
}

// The ledger's verdict first; then whether the bot's checks passed.
int AutoplayVerdict(int ledgerCode, const std::string& fault) {
    if (fault.empty() || ledgerCode != kExitOk) return ledgerCode;
    std::fprintf(stderr, "spherolette: autoplay: %s\n", fault.c_str());
    return kExitAutoplay;
}

// The string naming the game's logo picture, which is also the window's icon.
constexpr uint32_t kLogoString = 6;

// Passes each question to the dialogs chosen at the time it is asked.
class ChoosingDialogs : public Dialogs {
public:
    explicit ChoosingDialogs(std::function<Dialogs*()> choose) : choose_(std::move(choose)) {}
    bool Message(const std::string& title, const std::string& text, bool ask) override {
        return choose_()->Message(title, text, ask);
    }
    bool Input(const std::string& title, const std::string& prompt, std::string* text,
               int limit) override {
        return choose_()->Input(title, prompt, text, limit);
    }

private:
    std::function<Dialogs*()> choose_;
};

// Every text of the game, its buttons included, is drawn in "Arial": with no font file at all
// the title screen would show nothing to click, so the run stops with a clear word instead.
bool FontFound(Host& host) {
    if (host.Fonts().Available("Arial", 18, 0)) return true;
    std::fprintf(stderr,
                 "spherolette: no font was found for the game's text; install the package "
                 "fonts-liberation2 (and check the fontconfig setup)\n");
    return false;
}

int CheckLedger(Host& host) {
    Ledger& ledger = host.GetLedger();
    if (ledger.Clean()) return kExitOk;
    std::fprintf(stderr, "spherolette: the game's objects were not given back properly:\n%s",
                 ledger.Report().c_str());
    return kExitLedger;
}

// The options a run really uses: a replay brings its own seed, clock and bubble set, and a
// recording fixes its seed so the file can name it. False (reported) when the replay is bad.
bool PrepareRun(const Options& options, Options* run, Replay* replay) {
    if (!options.replay.empty()) {
        std::string error;
        if (!LoadReplay(options.replay, replay, &error)) {
            std::fprintf(stderr, "spherolette: %s: %s\n", options.replay.c_str(), error.c_str());
            return false;
        }
        run->seed = replay->seed;
        run->relaxed = replay->relaxed;
        run->symbols = replay->symbols;
    }
    if (!run->record.empty()) run->seed = ChooseSeed(*run);
    return true;
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
    Options run = options;
    Replay replay;
    if (!PrepareRun(options, &run, &replay)) return kExitUsage;
    Store store = OpenStore(run, library, run.replay.empty() ? nullptr : &replay);
    VirtualTime time;
    ScriptedDialogs dialogs;
    ReplayDialogs replayDialogs(replay.answers);
    std::unique_ptr<ReplayRecorder> recorder;
    if (!run.record.empty()) {
        std::string error;
        recorder = StartRecording(run, store, run.symbols.value_or(false), &error);
        if (!recorder) {
            std::fprintf(stderr, "spherolette: %s\n", error.c_str());
            return kExitUsage;
        }
    }
    HostOptions hostOptions;
    hostOptions.resources = library.Resources();
    hostOptions.time = time.AsSource();
    hostOptions.sound = SoundBank::Mode::Silent;
    hostOptions.seed = run.seed;
    hostOptions.settings = store.Get();
    hostOptions.dialogs = run.replay.empty() ? static_cast<Dialogs*>(&dialogs) : &replayDialogs;
    hostOptions.fontMemoryFile = FontCache::DefaultMemoryFile();
    Host host(hostOptions);
    if (!FontFound(host)) return kExitNoFont;
    if (run.relaxed) host.Timers().SetSlowdown(2);
    Session session(host, library);
    Comforts comforts(session, host, nullptr, store.shellView.get());
    ApplyComfortOptions(run, comforts);
    if (recorder) recorder->Attach(session, host);
    session.Start();
    session.Compose(nullptr);
    ReportFirstFrame(options);

    HeadlessRunner runner(session, host, time, dialogs);
    if (!run.replay.empty()) {
        ReplayPlayer player(replay, session, host,
                            [&](int64_t t) { time.now += t - host.Clock().Now(); });
        player.PlayAll();
        session.Compose(nullptr);
    }
    runner.Run(commands);
    std::string fault;
    if (options.autoplay && !runner.QuitAccepted()) {
        fault = bot::PlayHeadless(options, session, host, runner, StoreForBot(store));
    }
    if (recorder) recorder->Finish();
    if (!options.screenshot.empty()) runner.Screenshot(options.screenshot, false);
    session.Stop();
    return AutoplayVerdict(CheckLedger(host), fault);
}

int RunWindowed(const Options& options, AppletLibrary& library) {
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // Closing the window asks first during a game; SDL_QUIT then only comes from signals.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    int code = kExitOk;
    Options run = options;
    Replay replay;
    if (!PrepareRun(options, &run, &replay)) return kExitUsage;
    {
        Store store = OpenStore(run, library, run.replay.empty() ? nullptr : &replay);
        // A replay runs the game on a clock it moves itself, in step with real time.
        VirtualTime replayTime;
        replayTime.now = MonotonicMs();
        HostOptions hostOptions;
        hostOptions.resources = library.Resources();
        hostOptions.sound = SoundBank::Mode::Device;
        hostOptions.seed = run.seed;
        if (!run.replay.empty()) hostOptions.time = replayTime.AsSource();
        hostOptions.settings = store.Get();
        hostOptions.fontMemoryFile = FontCache::DefaultMemoryFile();
        hostOptions.prefetchImages = true;
        // Fonts and pictures load on other threads while the window opens.
        Host host(hostOptions);
        if (run.relaxed) host.Timers().SetSlowdown(2);
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
        if (!FontFound(host)) {
            window.reset();
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
            return kExitNoFont;
        }
        if (const char* logo = FindString(library.Resources(), kLogoString)) {
            window->SetIcon(*host.Images().Load(logo)->frames.front());
        }
        Session session(host, library);
        WindowDialogs dialogs(*window, host.Fonts(), session.Frame());
        Comforts comforts(session, host, window.get(), store.shellView.get());
        ApplyComfortOptions(run, comforts);
        // The game's questions: recorded, answered from the replay while it plays, or asked.
        ReplayDialogs replayDialogs(replay.answers);
        std::unique_ptr<ReplayRecorder> recorder;
        if (!run.record.empty()) {
            std::string error;
            recorder = StartRecording(run, store, comforts.Prefs().symbols, &error);
            if (!recorder) {
                std::fprintf(stderr, "spherolette: %s\n", error.c_str());
                return kExitUsage;
            }
            recorder->Attach(session, host);
        }
        ChoosingDialogs choosing([&]() -> Dialogs* {
            if (comforts.Replaying()) return &replayDialogs;
            return &dialogs;
        });
        host.Frame().SetDialogs(&choosing);
        host.Frame().OnTitle([&](const std::string& title) { window->SetTitle(title); });

        std::unique_ptr<ReplayPlayer> player;
        if (!run.replay.empty()) {
            player = std::make_unique<ReplayPlayer>(replay, session, host, [&](int64_t t) {
                host.Clock().Unlatch();
                replayTime.now += t - host.Clock().Now();
            });
            comforts.PlayBack(player.get(), &replayTime);
        }
        session.Start();
        StartupStep("applet started");
        MainLoop loop(session, host, *window, dialogs);
        loop.SetComforts(&comforts);
        loop.OnFirstFrame([&] { ReportFirstFrame(options); });
        std::unique_ptr<bot::WindowAutoplay> autoplay;
        if (options.autoplay) {
            autoplay = std::make_unique<bot::WindowAutoplay>(options, session, host, loop, dialogs,
                                                             StoreForBot(store));
        }
        loop.Run();
        if (!options.screenshot.empty()) SavePicture(session.Picture(false), options.screenshot);
        if (recorder) recorder->Finish();
        session.Stop();
        const std::string fault = autoplay ? autoplay->Fault() : std::string();
        autoplay.reset();
        host.Frame().SetDialogs(nullptr);
        code = AutoplayVerdict(CheckLedger(host), fault);
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
