// One run of the game, set up the same way for every front end: the options a run really uses
// (a replay brings its own), the settings store, the host, the session, the shell's remembered
// options, a recording or a replay, and the verdict at the end (the ledger's, then the bot's).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "shell/bot/StoreCheck.h"
#include "shell/core/Host.h"
#include "shell/session/AppletEntry.h"
#include "shell/session/Options.h"
#include "shell/session/Prefs.h"
#include "shell/session/Replay.h"
#include "shell/session/ResumeFile.h"
#include "shell/session/Session.h"
#include "shell/settings/StoredSettings.h"

namespace shell {

// Exit codes.
constexpr int kExitOk = 0;
constexpr int kExitNoLibrary = 1;
constexpr int kExitUsage = 2;
constexpr int kExitLedger = 3;
constexpr int kExitNoWindow = 4;
constexpr int kExitAutoplay = 5;  // a check the bot makes failed
constexpr int kExitNoFont = 6;    // no font file at all: no text could be shown

// How a front end wants its run set up.
struct RunSetup {
    AppletClock::Source time;           // the host's clock; empty: the monotonic clock
    SoundBank::Mode sound = SoundBank::Mode::Silent;
    bool memoryStoreByDefault = false;  // without --settings, keep the store in memory
    std::string settingsPath;           // without --settings, the player's settings file
    // How a front end with files opens one as storage (FileStorage::Open): the settings file
    // and, beside it, the kept game's (ResumeFile::PathFor). Empty: no file is used, and
    // --settings keeps the store in memory.
    std::function<std::unique_ptr<TextStorage>(const std::string& path)> openFile;
    // A front end without files (the web) hands in the player's settings and the kept game's
    // storage instead; used when no --settings is given (and before settingsPath).
    std::function<std::unique_ptr<TextStorage>()> settingsStorage;
    std::function<std::unique_ptr<TextStorage>()> keptGameStorage;
    std::function<std::unique_ptr<fonts::FontSource>()> fonts;  // see HostOptions::fonts
    // See HostOptions::prepare (the window reads the fonts and pictures on other threads
    // while it opens).
    std::function<void(Host&)> prepare;
    bool keepGames = false;             // a game left by quitting is kept to resume (live play
                                        // on the player's settings file, no replay, no bot)
};

class Run {
public:
    // Null, with the exit code in *exitCode and the reason on stderr, when the run cannot start:
    // a replay that cannot be read or a recording that cannot be written.
    static std::unique_ptr<Run> Open(const Options& options, const AppletEntry& applet,
                                     const RunSetup& setup, int* exitCode);
    ~Run();
    Run(const Run&) = delete;
    Run& operator=(const Run&) = delete;

    // The options the run really uses: a replay's seed, clock and bubble set, a recording's
    // chosen seed, and the shell's remembered options under the command line's.
    const Options& Used() const { return used_; }
    Host& GetHost() { return *host_; }
    Session& GetSession() { return *session_; }
    Prefs& GetPrefs() { return *prefs_; }
    const AppletEntry& Applet() const { return applet_; }

    // Every text of the game is drawn in "Arial": with no font file at all the title screen
    // would show nothing to click, so the run stops with a clear word (false) instead.
    bool FontsFound();

    bool HasReplay() const { return !used_.replay.empty(); }
    const Replay& GetReplay() const { return replay_; }
    // The answers the game's questions get in a headless run, and from a replay.
    ScriptedDialogs& Scripted() { return scripted_; }
    ReplayDialogs& FromReplay() { return replayDialogs_; }

    // What the player should be told about the settings found at start-up; empty when there
    // is nothing to say.
    std::string SettingsProblem() const { return file_ ? file_->Problem() : std::string(); }
    // Where the bot checks the scores after each game.
    bot::StoreToCheck StoreForBot() const;
    // The store of the shell's own options (null when nothing is remembered).
    host::SettingsStore* ShellStore();

    // ---- Starting afresh and kept games (see RunControl) ---------------------------------
    // The recording of the applet's current run (null when nothing is recorded).
    ReplayRecorder* Recorder() { return recorder_.get(); }
    // The kept game, claimed by this run (null when this run keeps no games).
    ResumeFile* Kept() { return resume_.get(); }
    // The seed for the next start of the applet: the one given, or a new one.
    uint64_t NextSeed() const;
    // The header of a record of an applet run that starts now with `seed`.
    Replay Header(uint64_t seed);
    // The relaxed clock (half speed and its own scores) on or off for the applet's next start.
    void UseRelaxed(bool relaxed);
    // The store the game's values belong in (the host may run on a copy while a record plays).
    host::SettingsStore* GameStore() { return gameStore_; }

    // Keeps the game in progress for next time, or discards what was kept when no game is in
    // progress (when this run keeps games). Then stops the applet and closes a recording. The
    // ledger's verdict first, then whether the bot's checks passed (`botFault` empty).
    int Finish(const std::string& botFault);

private:
    Run() = default;
    bool OpenStore(const RunSetup& setup);

    Options options_;  // as given
    Options used_;
    AppletEntry applet_;
    Replay replay_;
    std::unique_ptr<StoredSettings> file_;
    std::string filePath_;                      // the settings file's, when it is one
    std::unique_ptr<TextStorage> keptStorage_;  // until the kept game is claimed
    std::unique_ptr<SettingsView> gameView_;
    std::unique_ptr<SettingsView> shellView_;
    MemorySettings memory_;
    bool inMemory_ = false;
    ScriptedDialogs scripted_;
    ReplayDialogs replayDialogs_{{}};
    std::unique_ptr<Host> host_;
    std::unique_ptr<Prefs> prefs_;
    std::unique_ptr<Session> session_;
    std::unique_ptr<ReplayRecorder> recorder_;
    std::unique_ptr<ResumeFile> resume_;
    host::SettingsStore* gameStore_ = nullptr;
    bool finished_ = false;
};

}  // namespace shell
