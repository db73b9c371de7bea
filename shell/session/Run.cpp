// Setting up a run and giving its verdict.
#include "shell/session/Run.h"

#include <cstdio>
#include <random>

#include "shell/core/Log.h"

namespace shell {

namespace {

// The applet's keys live under its name in the settings file; with the relaxed clock under
// a namespace of their own, so relaxed scores never mix with the standard ones.
std::string SettingsPrefix(const AppletEntry& applet, bool relaxed) {
    std::string name = applet.String(host::kStringName);
    return std::string(relaxed ? "Relaxed." : "") + (name.empty() ? std::string("applet") : name) +
           ".";
}

// A recording needs the seed: one is chosen here when none was given.
uint64_t ChooseSeed(const Options& options) {
    if (options.seed) return *options.seed;
    std::random_device device;
    return (uint64_t{device()} << 32) ^ device();
}

}  // namespace

bool Run::OpenStore(const RunSetup& setup) {
    std::string path = used_.settings;
    // A replay without a file given runs on the recorded values in memory, so playing it back
    // never touches the player's scores.
    if (HasReplay() && path.empty()) {
        inMemory_ = true;
        for (const auto& [key, value] : replay_.settings) memory_.values[key] = value;
        return true;
    }
    // Headless runs without a file given keep their store in memory, so tests never touch the
    // player's scores.
    if (path.empty() && setup.memoryStoreByDefault) return true;
    if (path.empty()) path = setup.settingsPath;
    file_ = std::make_unique<SettingsFile>(
        path, [](const std::string& line) { Log("%s", line.c_str()); });
    gameView_ = file_->View(SettingsPrefix(applet_, used_.relaxed));
    shellView_ = file_->View(ShellPrefs::kPrefix);
    if (HasReplay() && !replay_.settings.empty()) gameView_->WriteMany(replay_.settings);
    return true;
}

std::unique_ptr<Run> Run::Open(const Options& options, const AppletEntry& applet,
                               const RunSetup& setup, int* exitCode) {
    std::unique_ptr<Run> run(new Run());
    run->used_ = options;
    run->applet_ = applet;
    Options& used = run->used_;
    if (!options.replay.empty()) {
        std::string error;
        if (!LoadReplay(options.replay, &run->replay_, &error)) {
            std::fprintf(stderr, "spherolette: %s: %s\n", options.replay.c_str(), error.c_str());
            *exitCode = kExitUsage;
            return nullptr;
        }
        used.seed = run->replay_.seed;
        used.relaxed = run->replay_.relaxed;
        used.symbols = run->replay_.symbols;
        run->replayDialogs_ = ReplayDialogs(run->replay_.answers);
    }
    if (!used.record.empty()) used.seed = ChooseSeed(used);
    run->OpenStore(setup);

    HostOptions hostOptions;
    hostOptions.resources = applet.resources;
    hostOptions.time = setup.time;
    hostOptions.sound = setup.sound;
    hostOptions.seed = used.seed;
    hostOptions.settings = run->file_ ? static_cast<host::SettingsStore*>(run->gameView_.get())
                           : run->inMemory_ ? &run->memory_
                                            : nullptr;
    hostOptions.dialogs = run->HasReplay() ? static_cast<Dialogs*>(&run->replayDialogs_)
                                           : &run->scripted_;
    hostOptions.fontMemoryFile = setup.fontMemoryFile;
    hostOptions.prefetchImages = setup.prefetchImages;
    run->host_ = std::make_unique<Host>(hostOptions);
    if (used.relaxed) run->host_->Timers().SetSlowdown(2);

    // Options on the command line win over remembered ones, and are remembered.
    run->prefs_ = std::make_unique<Prefs>(*run->host_, run->ShellStore());
    if (used.volume) run->prefs_->SetVolume(*used.volume);
    if (used.symbols) run->prefs_->SetSymbols(*used.symbols);
    used.symbols = run->prefs_->Values().symbols;

    run->session_ = std::make_unique<Session>(*run->host_, applet);
    if (!used.record.empty()) {
        Replay header;
        header.seed = *used.seed;
        header.relaxed = used.relaxed;
        header.symbols = *used.symbols;
        if (run->gameView_) {
            for (const auto& [key, value] : run->file_->Values()) {
                if (key.rfind(run->gameView_->Prefix(), 0) == 0) {
                    header.settings.emplace_back(key.substr(run->gameView_->Prefix().size()), value);
                }
            }
        }
        std::string error;
        run->recorder_ = ReplayRecorder::Open(used.record, header, &error);
        if (!run->recorder_) {
            std::fprintf(stderr, "spherolette: %s\n", error.c_str());
            *exitCode = kExitUsage;
            return nullptr;
        }
        run->recorder_->Attach(*run->session_, *run->host_);
    }
    *exitCode = kExitOk;
    return run;
}

Run::~Run() {
    if (recorder_) recorder_->Finish();
    if (session_) session_->Stop();
}

host::SettingsStore* Run::ShellStore() { return shellView_.get(); }

bool Run::FontsFound() {
    if (host_->Fonts().Available("Arial", 18, 0)) return true;
    std::fprintf(stderr,
                 "spherolette: no font was found for the game's text; install the package "
                 "fonts-liberation2 (and check the fontconfig setup)\n");
    return false;
}

bot::StoreToCheck Run::StoreForBot() const {
    if (!file_) return {};
    return {file_->Path(), gameView_->Prefix()};
}

int Run::Finish(const std::string& botFault) {
    if (finished_) return kExitOk;
    finished_ = true;
    if (recorder_) recorder_->Finish();
    session_->Stop();
    host_->Frame().SetDialogs(nullptr);
    Ledger& ledger = host_->GetLedger();
    if (!ledger.Clean()) {
        std::fprintf(stderr, "spherolette: the game's objects were not given back properly:\n%s",
                     ledger.Report().c_str());
        return kExitLedger;
    }
    if (botFault.empty()) return kExitOk;
    std::fprintf(stderr, "spherolette: autoplay: %s\n", botFault.c_str());
    return kExitAutoplay;
}

}  // namespace shell
