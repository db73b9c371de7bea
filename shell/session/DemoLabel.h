// The label that says the computer is playing (--autoplay in a window), and how to take over.
#pragma once

#include "shell/core/Host.h"
#include "shell/session/StageOverlay.h"

namespace shell {

class DemoLabel : public StageOverlay {
public:
    explicit DemoLabel(Host& host) : host_(host) {}
    // Shown until hidden for good (the player took over).
    void Hide() {
        changed_ = changed_ || shown_;
        shown_ = false;
    }

    Rect Area() override;
    void Paint(Pixmap& target) override;
    bool TakeChange() override {
        const bool changed = changed_;
        changed_ = false;
        return changed;
    }

private:
    Host& host_;
    bool shown_ = true;
    bool changed_ = true;
};

}  // namespace shell
