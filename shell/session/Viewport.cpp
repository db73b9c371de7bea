// Fitting the stage into the drawable area.
#include "shell/session/Viewport.h"

#include <algorithm>

namespace shell {

void Viewport::Fit(int width, int height) {
    width_ = std::max(0, width);
    height_ = std::max(0, height);
    // Whole factors only, so every stage pixel is the same square of screen pixels.
    scale_ = std::max(1, std::min(width_ / std::max(1, stageW_), height_ / std::max(1, stageH_)));
    offsetX_ = std::max(0, (width_ - stageW_ * scale_) / 2);
    offsetY_ = std::max(0, (height_ - stageH_ * scale_) / 2);
}

std::pair<int, int> Viewport::ToStage(int x, int y) const {
    auto convert = [this](int v, int offset) {
        v -= offset;
        return v >= 0 ? v / scale_ : -((-v + scale_ - 1) / scale_);
    };
    return {convert(x, offsetX_), convert(y, offsetY_)};
}

Rect Viewport::ToDrawable(const Rect& r) const {
    return {offsetX_ + r.x * scale_, offsetY_ + r.y * scale_, r.w * scale_, r.h * scale_};
}

}  // namespace shell
