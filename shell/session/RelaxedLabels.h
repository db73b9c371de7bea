// While the relaxed clock is on, a label says so on the title screen, beside its top-five table
// (so the table says which one it is), and on the game screen, below its panels. Other screens
// (the credits) show none.
#pragma once

#include <functional>
#include <string>

#include "shell/core/Host.h"
#include "shell/session/StageOverlay.h"

namespace shell {

class RelaxedLabels : public StageOverlay {
public:
    // `on` tells whether the relaxed clock is in effect.
    RelaxedLabels(Host& host, std::function<bool()> on) : host_(host), on_(std::move(on)) {}

    Rect Area() override;
    void Paint(Pixmap& target) override;
    bool TakeChange() override;

    enum class Where { None, Title, Game };
    // Which label shows now.
    Where Showing();

private:
    Rect AreaFor(Where where);

    Host& host_;
    std::function<bool()> on_;
    Where shown_ = Where::None;
};

}  // namespace shell
