// The menu control beside the help control: a dark-teal disc with three white bars, drawn
// from a small bitmap like the "?" beside it so it needs no font.
#pragma once

#include "shell/session/Session.h"
#include "shell/session/StageOverlay.h"

namespace shell {

class MenuButton : public StageOverlay {
public:
    Rect Area() override { return Session::kMenuControl; }
    void Paint(Pixmap& target) override;
    bool TakeChange() override { return false; }
};

}  // namespace shell
