// One run of the applet on a Host, whatever drives it (a window or a script): starting and
// stopping the applet, the input layer between the player and the applet's events, the help
// panel, quitting, and the composed frame the player sees.
#pragma once

#include <cstdint>
#include <string>

#include "shell/app/AppletLibrary.h"
#include "shell/core/Host.h"
#include "shell/core/Pixmap.h"

namespace shell {

class Session {
public:
    Session(Host& host, AppletLibrary& library);
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

    bool HelpShown() const { return helpShown_; }
    void ShowHelp();
    void HideHelp();

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

    Host& host_;
    AppletLibrary& library_;
    bool started_ = false;
    bool stopped_ = false;
    bool helpShown_ = false;
    bool helpPressed_ = false;  // a press on the help control waits for its release
    bool viewChanged_ = true;
    Pixmap frame_;
};

}  // namespace shell
