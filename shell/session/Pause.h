// Pausing: the applet's clock is held (no timer, animation or callback advances and the
// applet sees no time pass), sounds stop where they are, and the board and the next phase's
// panel are hidden, so no one plans with the clock stopped. The help page shown during a game
// holds the clock the same way. Going on shows a short count-in first, the clock still held.
#pragma once

#include <cstdint>
#include <functional>

#include "shell/core/Host.h"
#include "shell/session/Session.h"

namespace shell {

class Pause {
public:
    enum class State { Running, Paused, Help, CountingIn };
    static constexpr int kCountFrom = 3;
    static constexpr int kCountStepMs = 500;

    // `realMs` reads the real time the count-in is shown for.
    Pause(Session& session, Host& host, std::function<int64_t()> realMs = MonotonicMs)
        : session_(session), host_(host), realMs_(std::move(realMs)) {}
    ~Pause();

    // Pauses (from a count-in too: back to paused).
    void Begin();
    // Holds the game while its help page is read; the page's own look shows meanwhile.
    void BeginHelp();
    // Starts the count-in (from the pause, or once the help page goes).
    void Continue();
    // Esc or Ctrl+P: pauses, or goes on when paused.
    void Toggle();
    // Advances the count-in; the clock runs again once it ends.
    void Frame();
    // Real time of the next count-in step; -1 when none.
    int64_t NextStep() const { return state_ == State::CountingIn ? stepAt_ : -1; }
    State GetState() const { return state_; }
    bool Active() const { return state_ != State::Running; }

private:
    void Hold();
    void ShowPanel(const std::vector<std::string>& lines);
    void ShowCount();

    Session& session_;
    Host& host_;
    std::function<int64_t()> realMs_;
    State state_ = State::Running;
    int count_ = 0;
    int64_t stepAt_ = 0;
};

}  // namespace shell
