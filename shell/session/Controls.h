// The input layer between the player and the game. Every pointer, key, text and focus record
// from a front end comes here, and only here: shortcuts (sound, volume, symbols, fullscreen,
// screenshots), pause and its count-in, click-to-move and the keyboard cursor, the notices and
// the list of keys shown over the help control. What is left of the input reaches the session
// as the presses, moves, releases and typed characters the game understands.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "shell/core/Host.h"
#include "shell/session/FrameClient.h"
#include "shell/session/Pause.h"
#include "shell/session/PointerAssist.h"
#include "shell/session/Prefs.h"
#include "shell/session/Session.h"
#include "shell/session/ShellEvent.h"
#include "shell/session/Viewport.h"

namespace shell {

class Frontend;

// A line of text shown for a moment at the top left, and the list of keys while the pointer
// rests on the help control. The pause's panel takes precedence over both.
class Notices {
public:
    static constexpr int kNoticeMs = 1500;
    Notices(Session& session, const Pause& pause) : session_(session), pause_(pause) {}

    void Show(const std::string& line, int64_t realNow);
    void SetOverHelp(bool over);
    // Takes the notice away once its time is up.
    void Frame(int64_t realNow);
    // Real time the notice goes; -1 for none.
    int64_t NextChange() const { return until_; }
    // Puts back what should show now (after the pause let go of the panel, too).
    void Refresh();
    // The pause drew its own panel over ours.
    void PanelTaken() { ours_ = false; }

private:
    Session& session_;
    const Pause& pause_;
    std::string line_;
    int64_t until_ = -1;
    bool overHelp_ = false;
    bool ours_ = false;
};

class Controls : public FrameClient {
public:
    // Writes a picture somewhere the player finds it; the path written, empty on failure.
    using ScreenshotSaver = std::function<std::string(const Pixmap& picture)>;

    // `frontend` may be null (tests): fullscreen then does nothing. `realMs` is the real time
    // the count-in and notices are shown for.
    Controls(Session& session, Host& host, Prefs& prefs, const Viewport& viewport,
             Frontend* frontend, std::function<int64_t()> realMs);
    ~Controls() override;

    // One record from the front end.
    void Handle(const ShellEvent& event);
    // Input is held back while `busy` answers true (a replay playing).
    void HoldInputWhile(std::function<bool()> busy) { busy_ = std::move(busy); }
    void SetScreenshotSaver(ScreenshotSaver saver) { screenshot_ = std::move(saver); }

    // Count-in and notices.
    void Frame() override;
    int64_t NextWake() const override;

    Pause& GetPause() { return pause_; }
    const Pause& GetPause() const { return pause_; }
    PointerAssist& Assist() { return assist_; }
    Notices& GetNotices() { return notices_; }
    // Writes a screenshot of what the player sees; the path, or empty when it failed.
    std::string TakeScreenshot();

private:
    void HandleKey(const ShellEvent& e);
    void HandlePointer(const ShellEvent& e);
    bool Busy() const { return busy_ && busy_(); }

    Session& session_;
    Host& host_;
    Prefs& prefs_;
    const Viewport& viewport_;
    Frontend* frontend_;
    std::function<int64_t()> realMs_;
    Pause pause_;
    PointerAssist assist_;
    Notices notices_;
    std::function<bool()> busy_;
    ScreenshotSaver screenshot_;
    bool swallowSpace_ = false;  // the text of a Space that worked the cursor
};

}  // namespace shell
