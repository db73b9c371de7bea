// The input layer: shortcuts, pause, click-to-move, the keyboard cursor and notices.
#include "shell/session/Controls.h"

#include "shell/core/Latin1.h"
#include "shell/core/Log.h"
#include "shell/session/Frontend.h"
#include "shell/session/Shortcuts.h"

namespace shell {

namespace {
constexpr int kVolumeStep = 10;
constexpr Rect kNoticeAt{8, 8, 0, 0};
constexpr Rect kShortcutListAt{170, 20, 0, 0};
}  // namespace

// ---- Notices ---------------------------------------------------------------------------

void Notices::Show(const std::string& line, int64_t realNow) {
    line_ = line;
    until_ = realNow + kNoticeMs;
    Refresh();
}

void Notices::SetOverHelp(bool over) {
    if (over == overHelp_) return;
    overHelp_ = over;
    Refresh();
}

void Notices::Frame(int64_t realNow) {
    if (until_ < 0 || realNow < until_) return;
    until_ = -1;
    line_.clear();
    Refresh();
}

void Notices::Refresh() {
    if (pause_.Active()) return;  // the pause owns the panel
    if (!line_.empty()) {
        session_.ShowPanel({{line_}, false, false, kNoticeAt, {}});
        ours_ = true;
    } else if (overHelp_ && !session_.HelpShown()) {
        session_.ShowPanel({ShortcutPanelLines(), false, false, kShortcutListAt, {}});
        ours_ = true;
    } else if (ours_) {
        session_.HidePanel();
        ours_ = false;
    }
}

// ---- Controls --------------------------------------------------------------------------

Controls::Controls(Session& session, Host& host, Prefs& prefs, const Viewport& viewport,
                   Frontend* frontend, std::function<int64_t()> realMs)
    : session_(session),
      host_(host),
      prefs_(prefs),
      viewport_(viewport),
      frontend_(frontend),
      realMs_(std::move(realMs)),
      pause_(session, host, realMs_),
      assist_(session, host),
      notices_(session, pause_) {
    // During a game the help page holds the game's time as a pause does, and play goes on
    // through the count-in once it is closed.
    session_.OnHelpShown([this](bool shown) {
        if (shown && host_.Frame().GameActive()) {
            assist_.PutBack();
            pause_.BeginHelp();
        } else if (!shown && pause_.GetState() == Pause::State::Help) {
            pause_.Continue();
        }
    });
}

Controls::~Controls() { session_.OnHelpShown({}); }

std::string Controls::TakeScreenshot() {
    if (!screenshot_) return {};
    const std::string path = screenshot_(session_.Picture(session_.HelpShown()));
    if (!path.empty()) Log("screenshot written to %s", path.c_str());
    return path;
}

void Controls::Frame() {
    const bool wasPaused = pause_.Active();
    pause_.Frame();
    if (wasPaused && !pause_.Active()) {
        notices_.PanelTaken();
        notices_.Refresh();
    }
    notices_.Frame(realMs_());
}

int64_t Controls::NextWake() const {
    int64_t wake = -1;
    for (int64_t at : {pause_.NextStep(), notices_.NextChange()}) {
        if (at >= 0 && (wake < 0 || at < wake)) wake = at;
    }
    return wake < 0 ? -1 : std::max<int64_t>(0, wake - realMs_());
}

void Controls::Handle(const ShellEvent& e) {
    using Type = ShellEvent::Type;
    switch (e.type) {
        case Type::FocusLost:
            if (host_.Frame().GameActive()) pause_.Begin();
            break;
        case Type::PointerDown:
        case Type::PointerUp:
        case Type::PointerMove: HandlePointer(e); break;
        case Type::PointerLeft: session_.PointerLeft(); break;
        case Type::Key: HandleKey(e); break;
        case Type::Text:
            if (pause_.Active() || Busy()) break;
            if (swallowSpace_ && e.text == " ") {
                swallowSpace_ = false;
                break;
            }
            swallowSpace_ = false;
            for (char c : Utf8ToLatin1(e.text)) session_.Typed(static_cast<uint8_t>(c));
            break;
        default: break;
    }
}

void Controls::HandlePointer(const ShellEvent& e) {
    using Type = ShellEvent::Type;
    // While the help page holds the game, a click closes the page as usual.
    if (pause_.Active() && pause_.GetState() != Pause::State::Help) {
        // A click goes on after a pause, through the count-in.
        if (e.type == Type::PointerDown && pause_.GetState() == Pause::State::Paused) {
            pause_.Continue();
        }
        return;
    }
    if (Busy()) return;
    const auto [x, y] = viewport_.ToStage(e.x, e.y);
    assist_.HideCursor();
    switch (e.type) {
        case Type::PointerDown: assist_.Down(x, y); break;
        case Type::PointerUp: assist_.Up(x, y); break;
        default:
            notices_.SetOverHelp(Session::kHelpControl.Contains(x, y));
            if (e.held) {
                assist_.Move(x, y);
            } else {
                assist_.MoveUnheld(x, y);
            }
            break;
    }
}

void Controls::HandleKey(const ShellEvent& e) {
    const bool ctrl = (e.mods & kModCtrl) != 0;
    const bool shift = (e.mods & kModShift) != 0;
    const auto letter = [&](char c) { return e.key == KeyCode::Character && e.character == c; };
    // Shortcuts that work at any time.
    if (e.key == KeyCode::F11) {
        if (frontend_ != nullptr) frontend_->ToggleFullscreen();
        return;
    }
    if (e.key == KeyCode::F12) {
        const std::string path = TakeScreenshot();
        notices_.Show(path.empty() ? "The screenshot could not be written" : "Screenshot: " + path,
                      realMs_());
        return;
    }
    if (ctrl && letter('m')) {
        prefs_.SetMuted(!prefs_.Values().muted);
        notices_.Show(prefs_.Values().muted
                          ? "Sound off (Ctrl+M)"
                          : "Sound on, volume " + std::to_string(prefs_.Values().volume) + "%",
                      realMs_());
        return;
    }
    if (ctrl && (e.key == KeyCode::Up || e.key == KeyCode::Down)) {
        prefs_.SetVolume(prefs_.Values().volume + (e.key == KeyCode::Up ? kVolumeStep : -kVolumeStep));
        if (prefs_.Values().muted) prefs_.SetMuted(false);
        notices_.Show("Volume " + std::to_string(prefs_.Values().volume) + "%", realMs_());
        return;
    }
    if (ctrl && letter('s')) {
        prefs_.SetSymbols(!prefs_.Values().symbols);
        notices_.Show(prefs_.Values().symbols ? "Symbols on the bubbles from the next game"
                                              : "Plain bubbles from the next game",
                      realMs_());
        return;
    }
    if (session_.HelpShown() && (e.key == KeyCode::Escape || e.key == KeyCode::F1)) {
        if (e.key == KeyCode::F1) {
            session_.HelpKey();
        } else {
            session_.EscapeKey();
        }
        return;
    }
    // Pausing is for a game in progress: elsewhere nothing runs that could wait.
    if ((e.key == KeyCode::Escape || (ctrl && letter('p'))) &&
        (pause_.Active() || host_.Frame().GameActive())) {
        pause_.Toggle();
        if (!pause_.Active()) notices_.Refresh();
        return;
    }
    if (pause_.Active() || Busy()) return;  // nothing else reaches the game
    switch (e.key) {
        case KeyCode::Left: assist_.Step(-1, 0); break;
        case KeyCode::Right: assist_.Step(1, 0); break;
        case KeyCode::Up: assist_.Step(0, -1); break;
        case KeyCode::Down: assist_.Step(0, 1); break;
        case KeyCode::Tab: assist_.NextTarget(shift); break;
        case KeyCode::Space:
        case KeyCode::Enter:
            if (assist_.CursorShown() && !session_.HelpShown()) {
                assist_.Activate();
                swallowSpace_ = e.key == KeyCode::Space;
            } else if (e.key == KeyCode::Enter) {
                session_.Typed('\r');
            }
            break;
        case KeyCode::F1: session_.HelpKey(); break;
        case KeyCode::Escape: session_.EscapeKey(); break;
        case KeyCode::Backspace: session_.Typed('\b'); break;
        default: break;
    }
}

}  // namespace shell
