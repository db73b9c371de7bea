// One run of the applet on a Host, whatever drives it (a window or a script): starting and
// stopping the applet, the input layer between the player and the applet's events, the help
// panel, quitting, and the composed frame the player sees.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "host/GameLook.h"
#include "shell/session/AppletEntry.h"
#include "shell/core/Host.h"
#include "shell/core/Pixmap.h"

namespace shell {

// One thing the player did, as the session takes it: a recording keeps these and a replay
// gives them back through Session::Apply.
struct SessionInput {
    enum class Kind { Down, Move, Up, Left, Typed, Help, Escape };
    Kind kind = Kind::Move;
    int x = 0, y = 0;  // stage pixels; for Typed, x is the character
};

// A box of text lines the shell draws over the stage, optionally dimming everything beneath
// and hiding parts of it altogether.
struct ShellPanel {
    std::vector<std::string> lines;  // the first one large
    bool dim = false;
    bool large = true;               // the first line in a large size
    std::optional<Rect> at;          // where the box goes; empty: centred
    std::vector<Rect> hide;          // covered in the dark panel colour
};

class Session {
public:
    Session(Host& host, const AppletEntry& applet);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Shell_StartApplet, once.
    void Start();
    // Shell_StopApplet, once (later calls do nothing).
    void Stop();
    bool Started() const { return started_; }

    // ---- Input, in stage pixels --------------------------------------------------------
    void PointerDown(int x, int y);
    void PointerMove(int x, int y);
    void PointerUp(int x, int y);
    void PointerLeft();
    // A typed Latin-1 character.
    void Typed(uint8_t character);
    // F1 or the help control: shows the help panel, or closes it when shown.
    void HelpKey();
    // Escape: closes the help panel when shown (otherwise typed as character 27).
    void EscapeKey();
    // Runs one recorded input.
    void Apply(const SessionInput& input);
    // Told every input the session takes (before it acts on it).
    void OnInput(std::function<void(const SessionInput&)> observer) { observer_ = std::move(observer); }

    // ---- The shell's own drawings over the main stage ----------------------------------
    void ShowPanel(const ShellPanel& panel);
    void HidePanel();
    bool PanelShown() const { return panel_.has_value(); }
    // The keyboard cursor: a frame around the board cell under the point, or none. With a
    // `ring`, the cursor is on a control instead, and the frame goes around the control.
    void SetCursor(std::optional<std::pair<int, int>> point, std::optional<Rect> ring = {});
    std::optional<std::pair<int, int>> Cursor() const { return cursor_; }
    static constexpr int kCursorCell = host::look::kTilePitch;

    bool HelpShown() const { return helpShown_; }
    void ShowHelp();
    void HideHelp();
    // Told when the help page comes and goes (the input layer holds the game's time meanwhile).
    void OnHelpShown(std::function<void(bool shown)> observer) { helpObserver_ = std::move(observer); }

    // The player asks to quit: during a game the shell asks first. True when the run ends.
    bool RequestQuit();

    // ---- Picture --------------------------------------------------------------------------
    // Brings the shown frame up to date; adds what changed to `changed`.
    void Compose(DirtyRegion* changed);
    // True when Compose would draw something.
    bool NeedsCompose();
    const Pixmap& Frame() const { return frame_; }
    // The main or help stage as the player sees it (for screenshots).
    Pixmap Picture(bool help);

    // Where the help control sits on the main view.
    static constexpr Rect kHelpControl{514, 3, 13, 13};

private:
    void DrawHelpControl(Pixmap& target);
    void DrawPanel(Pixmap& target);
    void DrawCursor(Pixmap& target);
    Rect CursorRect() const;
    Rect PanelRect();
    void Note(SessionInput::Kind kind, int x = 0, int y = 0);

    Host& host_;
    AppletEntry applet_;
    bool started_ = false;
    bool stopped_ = false;
    bool helpShown_ = false;
    bool helpPressed_ = false;  // a press on the help control waits for its release
    bool viewChanged_ = true;
    Pixmap frame_;
    std::function<void(const SessionInput&)> observer_;
    std::optional<ShellPanel> panel_;
    std::optional<std::pair<int, int>> cursor_;
    std::optional<Rect> ring_;
    std::function<void(bool)> helpObserver_;
};

}  // namespace shell
