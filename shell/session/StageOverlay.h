// Something the shell draws over the composed stage, beside the help control: the menu control,
// the labels of the relaxed clock. The session asks each one where it is and draws it when that
// area was drawn anew.
#pragma once

#include "shell/core/Pixmap.h"
#include "shell/core/Rect.h"

namespace shell {

class StageOverlay {
public:
    virtual ~StageOverlay() = default;
    // Where it shows now; empty when hidden.
    virtual Rect Area() = 0;
    virtual void Paint(Pixmap& target) = 0;
    // True once after it moved, changed or was shown or hidden: the whole view is drawn again.
    virtual bool TakeChange() = 0;
};

}  // namespace shell
