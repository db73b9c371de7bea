// The game menu at work: opened by the menu control, F10 or the Menu key, shown over the game
// in a loop of its own over the front end's records while the applet's time stands still,
// and carrying out what the player chooses. Options change at once and the menu stays; the
// other entries put the menu away first. New game and Back to title ask first during a game
// ("Abandon this game?"), then start the game afresh (RunControl).
#pragma once

#include <optional>
#include <vector>

#include "shell/session/Controls.h"
#include "shell/session/EventFeed.h"
#include "shell/session/GameMenu.h"
#include "shell/session/Loop.h"
#include "shell/session/Run.h"
#include "shell/session/RunControl.h"
#include "shell/session/Viewport.h"

namespace shell {

class MenuController {
public:
    MenuController(Run& run, Controls& controls, RunControl& control, Loop& loop, EventFeed& feed,
                   Viewport& viewport);

    // Shows the menu until it is put away, then carries out the entry that put it away.
    void Open();
    bool IsOpen() const { return open_; }
    // The entries as they stand now.
    std::vector<MenuEntry> Entries() const;
    // Carries out an entry. Options are carried out at once (false: the menu stays); for the
    // others true is returned and the entry waits in `after` until the menu is put away.
    bool Choose(MenuCommand command, std::optional<MenuCommand>* after);
    // Carries out an entry that puts the menu away.
    void CarryOut(MenuCommand command);

private:
    void PresentAll(const Pixmap& view);
    bool AbandonAsked();

    Run& run_;
    Controls& controls_;
    RunControl& control_;
    Loop& loop_;
    EventFeed& feed_;
    Viewport& viewport_;
    bool open_ = false;
};

}  // namespace shell
