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

uint64_t Run::NextSeed() const { return ChooseSeed(options_); }

Replay Run::Header(uint64_t seed) {
    Replay header;
    header.game = applet_.String(host::kStringName);
    header.version = applet_.String(host::kStringVersion);
    header.seed = seed;
    header.relaxed = *used_.relaxed;
    header.symbols = prefs_ ? prefs_->Values().symbols : used_.symbols.value_or(false);
    if (gameView_) {
        for (const auto& [key, value] : file_->Values()) {
            if (key.rfind(gameView_->Prefix(), 0) == 0) {
                header.settings.emplace_back(key.substr(gameView_->Prefix().size()), value);
            }
        }
    } else if (auto* memory = dynamic_cast<MemorySettings*>(gameStore_)) {
        for (const auto& [key, value] : memory->values) header.settings.emplace_back(key, value);
    }
    return header;
}

void Run::UseRelaxed(bool relaxed) {
    used_.relaxed = relaxed;
    host_->Timers().SetSlowdown(relaxed ? 2 : 1);
    if (!file_) return;  // a store in memory holds the one table it was given
    std::unique_ptr<SettingsView> view = file_->View(SettingsPrefix(applet_, relaxed));
    if (view->Prefix() == gameView_->Prefix()) return;
    if (host_->Settings().Store() == gameView_.get()) host_->Settings().SetStore(view.get());
    gameStore_ = view.get();
    gameView_ = std::move(view);
}

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
    std::unique_ptr<TextStorage> storage;
    if (path.empty() && setup.settingsStorage) {
        storage = setup.settingsStorage();
        if (setup.keptGameStorage) keptStorage_ = setup.keptGameStorage();
    } else {
        if (path.empty()) path = setup.settingsPath;
        if (!setup.openFile) return true;
        storage = setup.openFile(path);
        filePath_ = path;
        if (setup.keepGames) keptStorage_ = setup.openFile(ResumeFile::PathFor(path));
    }
    if (!storage) return true;
    file_ = std::make_unique<StoredSettings>(
        std::move(storage), [](const std::string& line) { Log("%s", line.c_str()); });
    shellView_ = file_->View(ShellPrefs::kPrefix);
    if (!used_.relaxed) {
        ShellPrefs remembered;
        remembered.Load(shellView_.get());
        used_.relaxed = remembered.relaxed;
    }
    gameView_ = file_->View(SettingsPrefix(applet_, *used_.relaxed));
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
    run->options_ = options;
    if (!used.record.empty() || setup.keepGames) used.seed = ChooseSeed(used);
    run->OpenStore(setup);
    if (!used.relaxed) used.relaxed = false;

    HostOptions hostOptions;
    hostOptions.resources = applet.resources;
    hostOptions.time = setup.time;
    hostOptions.sound = setup.sound;
    hostOptions.seed = used.seed;
    hostOptions.settings = run->file_ ? static_cast<host::SettingsStore*>(run->gameView_.get())
                           : run->inMemory_ ? &run->memory_
                                            : nullptr;
    run->gameStore_ = hostOptions.settings;
    hostOptions.dialogs = run->HasReplay() ? static_cast<Dialogs*>(&run->replayDialogs_)
                                           : &run->scripted_;
    hostOptions.fonts = setup.fonts;
    hostOptions.prepare = setup.prepare;
    run->host_ = std::make_unique<Host>(hostOptions);
    if (run->gameStore_ == nullptr) run->gameStore_ = run->host_->Settings().Store();
    if (*used.relaxed) run->host_->Timers().SetSlowdown(2);

    // Options on the command line win over remembered ones, and are remembered.
    run->prefs_ = std::make_unique<Prefs>(*run->host_, run->ShellStore());
    if (used.volume) run->prefs_->SetVolume(*used.volume);
    if (used.symbols) run->prefs_->SetSymbols(*used.symbols);
    if (options.relaxed && !run->HasReplay()) run->prefs_->SetRelaxed(*options.relaxed);
    if (options.pixelPerfect) run->prefs_->SetPixelPerfect(*options.pixelPerfect);
    used.symbols = run->prefs_->Values().symbols;
    used.pixelPerfect = run->prefs_->Values().pixelPerfect;

    // A game left by quitting is kept by one running copy only.
    if (setup.keepGames && run->file_ && run->keptStorage_ && !run->HasReplay() &&
        !used.autoplay) {
        run->resume_ = std::make_unique<ResumeFile>(
            std::move(run->keptStorage_), [](const std::string& line) { Log("%s", line.c_str()); });
        if (!run->resume_->Claim()) {
            Log("another copy of the game is running: it keeps the game in progress, this one "
                "keeps none");
            run->resume_.reset();
        }
    }

    run->session_ = std::make_unique<Session>(*run->host_, applet);
    if (!used.record.empty()) {
        std::string error;
        run->recorder_ = ReplayRecorder::Open(used.record, run->Header(*used.seed), &error);
        if (!run->recorder_) {
            std::fprintf(stderr, "spherolette: %s\n", error.c_str());
            *exitCode = kExitUsage;
            return nullptr;
        }
    } else if (run->resume_) {
        run->recorder_ = ReplayRecorder::InMemory(run->Header(*used.seed));
    }
    if (run->recorder_) run->recorder_->Attach(*run->session_, *run->host_);
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
    if (!file_ || filePath_.empty()) return {};
    return {filePath_, gameView_->Prefix()};
}

int Run::Finish(const std::string& botFault) {
    if (finished_) return kExitOk;
    finished_ = true;
    if (resume_ && recorder_) {
        if (session_->Started() && host_->Frame().GameActive()) {
            resume_->Keep(recorder_->Record());
        } else {
            resume_->Discard();
        }
    }
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
