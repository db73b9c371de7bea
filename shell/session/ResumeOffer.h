// The title screen's offer of the game kept when the player last quit mid-game: "Resume your
// last game?" asked over the title as the run starts. Yes plays the game back to the moment of
// quitting (RunControl::Resume) and shows it paused: the player goes on through the count-in.
// No discards it. Leaving while asked (the window closed, a signal) is no answer: the game stays
// kept for the next start. A kept game that cannot be resumed is set aside with a notice, and the
// title stays.
#pragma once

#include <functional>

#include "shell/session/Controls.h"
#include "shell/session/Run.h"
#include "shell/session/RunControl.h"

namespace shell {

class ResumeOffer {
public:
    // `leaving` tells whether the program is on its way out (then a question's No was no
    // answer of the player's).
    ResumeOffer(Run& run, RunControl& control, Controls& controls, std::function<bool()> leaving)
        : run_(run), control_(control), controls_(controls), leaving_(std::move(leaving)) {}

    // Asks, once, when a game is kept.
    void Offer();

private:
    Run& run_;
    RunControl& control_;
    Controls& controls_;
    std::function<bool()> leaving_;
};

}  // namespace shell
