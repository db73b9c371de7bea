// The comforts: keys, pause, notices and replay pacing.
#include "shell/app/Comforts.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "shell/app/HeadlessRunner.h"
#include "shell/app/Window.h"
#include "shell/core/Log.h"

namespace shell {

namespace {
constexpr int kNoticeMs = 1500;
constexpr int kVolumeStep = 10;

const char* const kShortcuts[] = {
    "Keys",
    "F1  help page        Esc, Ctrl+P  pause",
    "Ctrl+M  sound on/off   Ctrl+Up/Down  volume",
    "Ctrl+S  symbols on the bubbles (next game)",
    "F11  fullscreen       F12  screenshot",
    "Arrows  move the cursor a cell   Tab  next button",
    "Space, Enter  pick up, drop or press",
    "Click a bubble, then click where it goes",
    nullptr,
};

int ReadInt(host::SettingsStore* store, const char* key, int fallback, int lo, int hi) {
    char buffer[256] = {0};
    if (store == nullptr || store->ReadString(key, buffer) != 0) return fallback;
    char* end = nullptr;
    const long v = std::strtol(buffer, &end, 10);
    if (end == buffer || *end != '\0' || v < lo || v > hi) return fallback;
    return static_cast<int>(v);
}
}  // namespace

const char* const* ShortcutLines() { return kShortcuts; }

void ShellPrefs::Load(host::SettingsStore* store) {
    muted = ReadInt(store, "Muted", muted ? 1 : 0, 0, 1) != 0;
    volume = ReadInt(store, "Volume", volume, 0, 100);
    symbols = ReadInt(store, "Symbols", symbols ? 1 : 0, 0, 1) != 0;
}

void ShellPrefs::Save(host::SettingsStore* store) const {
    if (store == nullptr) return;
    store->WriteString("Muted", muted ? "1" : "0");
    store->WriteString("Volume", std::to_string(volume).c_str());
    store->WriteString("Symbols", symbols ? "1" : "0");
}

std::map<std::string, std::string> SymbolSubstitutes() {
    std::map<std::string, std::string> map;
    for (int i = 0; i < 8; ++i) {
        map["P-IMG-BUBBLE" + std::to_string(i) + ".GIF"] =
            "P-IMG-BUBBLESYM" + std::to_string(i) + ".GIF";
    }
    return map;
}

std::string PicturesFolder(const std::string& fallback) {
    namespace fs = std::filesystem;
    std::error_code ec;
    std::string dir;
    if (FILE* p = popen("xdg-user-dir PICTURES 2>/dev/null", "r")) {
        char line[4096] = {0};
        if (std::fgets(line, sizeof line, p) != nullptr) dir = line;
        pclose(p);
        while (!dir.empty() && (dir.back() == '\n' || dir.back() == '\r')) dir.pop_back();
    }
    if (!dir.empty() && fs::is_directory(dir, ec)) return dir;
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        const std::string pictures = std::string(home) + "/Pictures";
        if (fs::is_directory(pictures, ec)) return pictures;
    }
    return fallback;
}

std::string ScreenshotPath(const std::string& folder) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d_%H-%M-%S", &local);
    const std::string base = folder + "/spherolette-" + stamp;
    std::error_code ec;
    std::string path = base + ".png";
    for (int n = 2; std::filesystem::exists(path, ec) && n < 1000; ++n) {
        path = base + "-" + std::to_string(n) + ".png";
    }
    return path;
}

// ---- Comforts --------------------------------------------------------------------------

Comforts::Comforts(Session& session, Host& host, Window* window, host::SettingsStore* prefsStore,
                   std::function<int64_t()> realMs)
    : session_(session),
      host_(host),
      window_(window),
      prefsStore_(prefsStore),
      realMs_(realMs),
      pause_(session, host, realMs),
      assist_(session, host) {
    prefs_.Load(prefsStore_);
    host_.Sounds().SetVolume(prefs_.volume);
    host_.Sounds().SetMuted(prefs_.muted);
    if (prefs_.symbols) host_.Images().SetSubstitutes(SymbolSubstitutes());
}

Comforts::~Comforts() = default;

std::pair<int, int> Comforts::ToStage(int x, int y) const {
    return window_ != nullptr ? window_->ToStagePoint(x, y) : std::make_pair(x, y);
}

void Comforts::SetMuted(bool muted) {
    prefs_.muted = muted;
    host_.Sounds().SetMuted(muted);
    prefs_.Save(prefsStore_);
}

void Comforts::SetVolume(int percent) {
    prefs_.volume = std::clamp(percent, 0, 100);
    host_.Sounds().SetVolume(prefs_.volume);
    prefs_.Save(prefsStore_);
}

void Comforts::SetSymbols(bool on) {
    prefs_.symbols = on;
    // Pictures already made keep their look: the bubbles change with the next game.
    host_.Images().SetSubstitutes(on ? SymbolSubstitutes() : std::map<std::string, std::string>{});
    prefs_.Save(prefsStore_);
}

std::string Comforts::TakeScreenshot() {
    std::string fallback = ".";
    if (char* base = SDL_GetPrefPath("", "spherolette")) {
        fallback = base;
        SDL_free(base);
        while (fallback.size() > 1 && fallback.back() == '/') fallback.pop_back();
    }
    const std::string path = ScreenshotPath(PicturesFolder(fallback));
    if (!SavePicture(session_.Picture(session_.HelpShown()), path)) return {};
    Log("screenshot written to %s", path.c_str());
    return path;
}

void Comforts::Notice(const std::string& line) {
    notice_ = line;
    noticeUntil_ = realMs_() + kNoticeMs;
    RefreshPanel();
}

void Comforts::RefreshPanel() {
    if (pause_.Active()) return;  // the pause owns the panel
    if (!notice_.empty()) {
        session_.ShowPanel({{notice_}, false, false, Rect{8, 8, 0, 0}});
        panelIsOurs_ = true;
    } else if (overHelp_ && !session_.HelpShown()) {
        ShellPanel list;
        for (const char* const* l = kShortcuts; *l != nullptr; ++l) list.lines.push_back(*l);
        list.large = false;
        list.at = Rect{170, 20, 0, 0};
        session_.ShowPanel(list);
        panelIsOurs_ = true;
    } else if (panelIsOurs_) {
        session_.HidePanel();
        panelIsOurs_ = false;
    }
}

void Comforts::PlayBack(ReplayPlayer* player, VirtualTime* time) {
    player_ = player;
    replayTime_ = time;
    replayAt_ = host_.Clock().Now();
    replayReal_ = realMs_();
}

void Comforts::Frame() {
    const bool wasPaused = pause_.Active();
    pause_.Frame();
    if (wasPaused && !pause_.Active()) {
        panelIsOurs_ = false;
        RefreshPanel();
    }
    if (noticeUntil_ >= 0 && realMs_() >= noticeUntil_) {
        noticeUntil_ = -1;
        notice_.clear();
        RefreshPanel();
    }
    if (player_ != nullptr && replayTime_ != nullptr) {
        const int64_t now = realMs_();
        if (!pause_.Active()) replayAt_ += now - replayReal_;
        replayReal_ = now;
        if (!player_->Done()) {
            player_->PlayUntil(replayAt_);
            // Between steps the clock stays at the last one, so nothing runs that the
            // recording did not run.
            if (player_->Done()) replayAt_ = std::max(replayAt_, host_.Clock().Now());
        } else if (!host_.Clock().Held()) {
            // Once played back, the game goes on live from where it was.
            host_.Clock().Unlatch();
            replayTime_->now += replayAt_ - host_.Clock().Now();
        }
    }
}

int64_t Comforts::NextWake() const {
    int64_t wake = -1;
    auto consider = [&](int64_t at) {
        if (at >= 0 && (wake < 0 || at < wake)) wake = at;
    };
    const int64_t now = realMs_();
    consider(pause_.NextStep());
    consider(noticeUntil_);
    if (player_ != nullptr) {
        consider(player_->Done() ? now + 16 : now + std::max<int64_t>(0, player_->NextTime() - replayAt_));
    }
    return wake < 0 ? -1 : std::max<int64_t>(0, wake - now);
}

bool Comforts::HandleKey(const SDL_Event& e) {
    const SDL_Keycode key = e.key.keysym.sym;
    const bool ctrl = (e.key.keysym.mod & KMOD_CTRL) != 0;
    const bool shift = (e.key.keysym.mod & KMOD_SHIFT) != 0;
    // Shortcuts that work at any time.
    if (key == SDLK_F11) {
        if (window_ != nullptr) window_->ToggleFullscreen();
        return true;
    }
    if (key == SDLK_F12) {
        const std::string path = TakeScreenshot();
        Notice(path.empty() ? "The screenshot could not be written" : "Screenshot: " + path);
        return true;
    }
    if (ctrl && key == SDLK_m) {
        SetMuted(!prefs_.muted);
        Notice(prefs_.muted ? "Sound off (Ctrl+M)" : "Sound on, volume " + std::to_string(prefs_.volume) + "%");
        return true;
    }
    if (ctrl && (key == SDLK_UP || key == SDLK_DOWN)) {
        SetVolume(prefs_.volume + (key == SDLK_UP ? kVolumeStep : -kVolumeStep));
        if (prefs_.muted) SetMuted(false);
        Notice("Volume " + std::to_string(prefs_.volume) + "%");
        return true;
    }
    if (ctrl && key == SDLK_s) {
        SetSymbols(!prefs_.symbols);
        Notice(prefs_.symbols ? "Symbols on the bubbles from the next game"
                              : "Plain bubbles from the next game");
        return true;
    }
    if (key == SDLK_ESCAPE && session_.HelpShown()) {
        session_.EscapeKey();
        return true;
    }
    if (key == SDLK_ESCAPE || (ctrl && key == SDLK_p)) {
        pause_.Toggle();
        if (!pause_.Active()) RefreshPanel();
        return true;
    }
    if (pause_.Active() || Replaying()) return true;  // nothing else reaches the game
    if (ctrl) return false;
    switch (key) {
        case SDLK_LEFT: assist_.Step(-1, 0); return true;
        case SDLK_RIGHT: assist_.Step(1, 0); return true;
        case SDLK_UP: assist_.Step(0, -1); return true;
        case SDLK_DOWN: assist_.Step(0, 1); return true;
        case SDLK_TAB: assist_.NextTarget(shift); return true;
        case SDLK_SPACE:
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            if (!assist_.CursorShown() || session_.HelpShown()) return false;
            assist_.Activate();
            swallowSpace_ = key == SDLK_SPACE;
            return true;
        default: return false;
    }
}

bool Comforts::Handle(const SDL_Event& e) {
    switch (e.type) {
        case SDL_WINDOWEVENT:
            if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST ||
                e.window.event == SDL_WINDOWEVENT_MINIMIZED) {
                pause_.Begin();
            }
            if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED && window_ != nullptr) {
                window_->Relayout();
            }
            return false;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            if (e.button.button != SDL_BUTTON_LEFT) return true;
            const bool down = e.type == SDL_MOUSEBUTTONDOWN;
            if (pause_.Active()) {
                if (down && pause_.GetState() == Pause::State::Paused) pause_.Continue();
                return true;
            }
            if (Replaying()) return true;
            if (window_ != nullptr) SDL_CaptureMouse(down ? SDL_TRUE : SDL_FALSE);
            assist_.HideCursor();
            const auto [x, y] = ToStage(e.button.x, e.button.y);
            if (down) {
                assist_.Down(x, y);
            } else {
                assist_.Up(x, y);
            }
            return true;
        }
        case SDL_MOUSEMOTION: {
            if (pause_.Active() || Replaying()) return true;
            const auto [x, y] = ToStage(e.motion.x, e.motion.y);
            assist_.HideCursor();
            const bool over = Session::kHelpControl.Contains(x, y);
            if (over != overHelp_) {
                overHelp_ = over;
                RefreshPanel();
            }
            if ((e.motion.state & SDL_BUTTON_LMASK) != 0) {
                assist_.Move(x, y);
            } else {
                assist_.MoveUnheld(x, y);
            }
            return true;
        }
        case SDL_KEYDOWN: return HandleKey(e);
        case SDL_TEXTINPUT:
            if (pause_.Active() || Replaying()) return true;
            if ((SDL_GetModState() & KMOD_CTRL) != 0) return true;  // a shortcut, not typing
            if (swallowSpace_ && std::string(e.text.text) == " ") {
                swallowSpace_ = false;
                return true;
            }
            swallowSpace_ = false;
            return false;
        default: return false;
    }
}

}  // namespace shell
