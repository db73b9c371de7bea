// Drawing the menu control.
#include "shell/session/MenuButton.h"

namespace shell {

void MenuButton::Paint(Pixmap& target) {
    const Rect c = Session::kMenuControl;
    const uint32_t disc = Argb(0, 51, 51), white = Argb(255, 255, 255);
    const int centre = c.w / 2;
    for (int row = 0; row < c.h; ++row) {
        for (int col = 0; col < c.w; ++col) {
            const int x = c.x + col, y = c.y + row;
            const int dx = col - centre, dy = row - centre;
            if (!target.Bounds().Contains(x, y) || dx * dx + dy * dy > 42) continue;
            // Three bars, each a pixel high, two apart.
            const bool onBar = col >= 3 && col <= 9 && (row == 4 || row == 6 || row == 8);
            target.Row(y)[x] = onBar ? white : disc;
        }
    }
}

}  // namespace shell
