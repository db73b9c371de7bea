// The relaxed clock's labels.
#include "shell/session/RelaxedLabels.h"

#include "host/GameLook.h"

namespace shell {

namespace {
constexpr const char* kTitleText = "Relaxed clock";
constexpr const char* kGameText = "Relaxed clock: half speed";
constexpr int kTextSize = 11;
constexpr int kPadX = 6, kPadY = 2;
}  // namespace

RelaxedLabels::Where RelaxedLabels::Showing() {
    if (!on_ || !on_()) return Where::None;
    if (host_.Frame().GameActive()) return Where::Game;
    // The title screen is the one offering a button for every difficulty.
    int difficulties = 0;
    for (HostSprite* s : host_.MainStage().Sprites()) {
        if (s->IsButton() && s->ClickTarget().id >= 0 &&
            s->ClickTarget().id < host::look::kDifficulties) {
            ++difficulties;
        }
    }
    return difficulties == host::look::kDifficulties ? Where::Title : Where::None;
}

Rect RelaxedLabels::AreaFor(Where where) {
    if (where == Where::None) return {};
    const char* text = where == Where::Title ? kTitleText : kGameText;
    int w = 0, h = 0;
    host_.Fonts().Measure("Arial", kTextSize, host::kStyleBold, text, &w, &h);
    w += 2 * kPadX;
    h += 2 * kPadY;
    if (where == Where::Title) return {host::look::kTitleTableCaptionX, host::look::kTitleTableCaptionY, w, h};
    return {host::look::kGameLabelCentreX - w / 2, host::look::kGameLabelTop, w, h};
}

Rect RelaxedLabels::Area() { return AreaFor(shown_); }

bool RelaxedLabels::TakeChange() {
    const Where now = Showing();
    if (now == shown_) return false;
    shown_ = now;
    return true;
}

void RelaxedLabels::Paint(Pixmap& target) {
    const Rect box = Area();
    if (box.Empty()) return;
    target.Fill(box, Argb(0, 51, 51));
    const char* text = shown_ == Where::Title ? kTitleText : kGameText;
    host_.Fonts().Draw(target, "Arial", kTextSize, host::kStyleBold, text, box.x + kPadX,
                       box.y + kPadY, 255, 255, 255);
}

}  // namespace shell
