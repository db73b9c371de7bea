// The applet's time: milliseconds from a source (the real monotonic clock or a virtual one),
// minus every stretch during which the applet was held (a modal dialog is open, the game is
// paused). Holds nest: each Hold needs its Resume.
#pragma once

#include <cstdint>
#include <functional>

namespace shell {

class AppletClock {
public:
    using Source = std::function<int64_t()>;
    explicit AppletClock(Source source) : source_(std::move(source)) {}

    int64_t Now() const { return latched_ ? latchedAt_ : Running(); }
    // Source time, not adjusted for holds.
    int64_t SourceNow() const { return source_(); }
    void Hold() {
        if (held_++ == 0) heldAt_ = source_();
    }
    void Resume() {
        if (held_ > 0 && --held_ == 0) heldTotal_ += source_() - heldAt_;
    }
    bool Held() const { return held_ > 0; }
    // Stops the applet's time at this moment until the next Latch or Unlatch, so that every
    // timer tick and input event of one window frame happens at one time (what a recording of
    // the frame needs to be replayed exactly). Holds still measure the source's time.
    void Latch() {
        latchedAt_ = Running();
        latched_ = true;
    }
    void Unlatch() { latched_ = false; }

private:
    int64_t Running() const { return (held_ > 0 ? heldAt_ : source_()) - heldTotal_; }

    Source source_;
    int held_ = 0;
    int64_t heldAt_ = 0;
    int64_t heldTotal_ = 0;
    bool latched_ = false;
    int64_t latchedAt_ = 0;
};

// A virtual source for headless runs and tests: time moves only when told to.
struct VirtualTime {
    int64_t now = 0;
    AppletClock::Source AsSource() {
        return [this] { return now; };
    }
};

}  // namespace shell
