// Real time that a replay can stop and set: the monotonic clock plus an offset, or a value
// held still. A live run's applet clock runs on it, so a kept game can be played back into the
// applet at its recorded times and then go on in real time from where it stopped.
#pragma once

#include <cstdint>

#include "shell/core/AppletClock.h"
#include "shell/core/Host.h"

namespace shell {

class SteerableTime {
public:
    int64_t Now() const { return held_ ? at_ : MonotonicMs() + offset_; }
    AppletClock::Source AsSource() {
        return [this] { return Now(); };
    }
    // Stands still at `t` until released (or held again elsewhere).
    void HoldAt(int64_t t) {
        at_ = t;
        held_ = true;
    }
    // Runs on in real time from where it stood.
    void Release() {
        if (!held_) return;
        offset_ = at_ - MonotonicMs();
        held_ = false;
    }
    bool Held() const { return held_; }

private:
    int64_t offset_ = 0;
    int64_t at_ = 0;
    bool held_ = false;
};

}  // namespace shell
