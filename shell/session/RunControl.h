// Starting the game afresh and putting a kept game back. The applet has no way to abandon a
// game, so the shell stops it and starts it again (Shell_StopApplet, Shell_StartApplet) with a
// new seed, the relaxed clock as the player last chose it and a new record, and then chooses
// the same difficulty with the click a player would make. A kept game is its run's record
// played back into a fresh start faster than real time: its seed, its stored values, its
// answers, every input and tick at its time, with nothing composed, heard or traced until the
// moment the player quit.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "shell/session/FrameClient.h"
#include "shell/session/Replay.h"
#include "shell/session/Run.h"

namespace shell {

class RunControl : public FrameClient {
public:
    // How the applet's clock is steered while a record plays: `setTime` puts it at a time and
    // holds it there until the next call; `release` lets it run on from the last time set.
    struct Steering {
        std::function<void(int64_t appletTime)> setTime;
        std::function<void()> release;
    };

    RunControl(Run& run, Steering steering);

    // The difficulty the game in progress (or the last one) was started at from the title
    // screen; empty before any.
    std::optional<int> Difficulty() const { return difficulty_; }
    // True when the relaxed clock the player chose is not the one in effect: it takes effect
    // at the next start afresh, which the end of the game in progress brings.
    bool RelaxedPending() const;

    // Notices a game starting (and at which difficulty), and the end of a game while the
    // relaxed clock is pending (the title is then started afresh with it).
    void Frame() override;

    // Stops the applet and starts it afresh, forgetting a kept game; with `difficulty`,
    // starts a game at it by clicking its button on the title screen.
    void Restart(std::optional<int> difficulty);
    // Plays `record` into a fresh start up to its end. False when that did not end in a game
    // (the fresh title screen is shown instead).
    bool Resume(const Replay& record);

private:
    // Stops the applet and readies the host for a start that begins the record `header`.
    void StopForFreshStart(const Replay& header);
    bool ClickButton(int id);

    Run& run_;
    Steering steering_;
    std::optional<int> difficulty_;
    bool wasActive_ = false;
    uint64_t clicksSeen_ = 0;
};

}  // namespace shell
