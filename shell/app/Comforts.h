// The player's comforts in the window: pause (Esc, Ctrl+P, losing focus), mute and volume,
// symbols on the bubbles, fullscreen, screenshots, click-to-move and keyboard play, the list
// of shortcuts over the help control, and pacing a replay. It sees every window event before
// the main loop and takes those that are its own; plain typed characters always reach the
// game.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "shell/app/Pause.h"
#include "shell/app/PointerAssist.h"
#include "shell/app/Replay.h"
#include "shell/app/Session.h"
#include "shell/core/AppletClock.h"
#include "shell/core/Host.h"

union SDL_Event;

namespace shell {

class Window;

// The shell's own remembered options, in a namespace of the settings file apart from the
// game's.
struct ShellPrefs {
    bool muted = false;
    int volume = 100;  // per cent
    bool symbols = false;

    static constexpr const char* kPrefix = "Shell.";
    // Reads what `store` holds; values missing or out of range keep the defaults.
    void Load(host::SettingsStore* store);
    void Save(host::SettingsStore* store) const;
};

// The pictures the bubbles are drawn from when symbols are asked for.
std::map<std::string, std::string> SymbolSubstitutes();

// Where F12 writes: the user's pictures folder (xdg-user-dir, then $HOME/Pictures), else
// `fallback`.
std::string PicturesFolder(const std::string& fallback);
// A file in `folder` named after the local time, not yet taken.
std::string ScreenshotPath(const std::string& folder);

// The keys and what they do, for the help control and --help.
const char* const* ShortcutLines();

class Comforts {
public:
    // `window` may be null (tests): pointer coordinates are then stage pixels. `prefs` is the
    // store the shell's options are kept in (may be null).
    Comforts(Session& session, Host& host, Window* window, host::SettingsStore* prefsStore,
             std::function<int64_t()> realMs = MonotonicMs);
    ~Comforts();

    // Takes the event when it is the comforts' own; false lets the main loop handle it.
    bool Handle(const SDL_Event& e);
    // Once a frame: count-in, notices, replay pacing.
    void Frame();
    // Real milliseconds until Frame has something to do; -1 for nothing.
    int64_t NextWake() const;

    // Plays `player` back in real time on the virtual clock `time`, which the host runs on;
    // the player's own input waits until it has finished.
    void PlayBack(ReplayPlayer* player, VirtualTime* time);
    bool Replaying() const { return player_ != nullptr && !player_->Done(); }

    Pause& GetPause() { return pause_; }
    PointerAssist& Assist() { return assist_; }
    const ShellPrefs& Prefs() const { return prefs_; }
    void SetMuted(bool muted);
    void SetVolume(int percent);
    void SetSymbols(bool on);
    // Writes a screenshot; the path, or empty when it failed.
    std::string TakeScreenshot();

private:
    void Notice(const std::string& line);
    void RefreshPanel();
    std::pair<int, int> ToStage(int x, int y) const;
    bool HandleKey(const SDL_Event& e);

    Session& session_;
    Host& host_;
    Window* window_;
    host::SettingsStore* prefsStore_;
    std::function<int64_t()> realMs_;
    Pause pause_;
    PointerAssist assist_;
    ShellPrefs prefs_;
    bool swallowSpace_ = false;
    bool overHelp_ = false;
    std::string notice_;
    int64_t noticeUntil_ = -1;
    bool panelIsOurs_ = false;
    ReplayPlayer* player_ = nullptr;
    VirtualTime* replayTime_ = nullptr;
    int64_t replayReal_ = -1;  // real time the replay clock was last moved on
    int64_t replayAt_ = 0;     // applet time the replay has reached
};

}  // namespace shell
