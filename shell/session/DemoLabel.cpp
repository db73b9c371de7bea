// Drawing the demo's label.
#include "shell/session/DemoLabel.h"

namespace shell {

namespace {
constexpr const char* kText = "Demo: click or press a key to play";
constexpr int kTextSize = 12;
constexpr int kPadX = 6, kPadY = 3;
constexpr int kLeft = 6, kTop = 4;
}  // namespace

Rect DemoLabel::Area() {
    if (!shown_) return {};
    int w = 0, h = 0;
    host_.Fonts().Measure("Arial", kTextSize, host::kStyleBold, kText, &w, &h);
    return {kLeft, kTop, w + 2 * kPadX, h + 2 * kPadY};
}

void DemoLabel::Paint(Pixmap& target) {
    const Rect box = Area();
    if (box.Empty()) return;
    target.Fill(box, Argb(0, 51, 51));
    target.Fill({box.x + 1, box.y + 1, box.w - 2, 1}, Argb(102, 153, 153));
    host_.Fonts().Draw(target, "Arial", kTextSize, host::kStyleBold, kText, box.x + kPadX,
                       box.y + kPadY, 255, 204, 0);
}

}  // namespace shell
