// Fitting the stage into the drawable area, and the mapping both ways.
#include "shell/session/Viewport.h"

#include <algorithm>
#include <cstdint>

namespace shell {

namespace {
// floor(a / b) for b > 0, also for negative a.
int64_t FloorDiv(int64_t a, int64_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }
}  // namespace

void Viewport::Fit(int width, int height) {
    width_ = std::max(0, width);
    height_ = std::max(0, height);
    const int w = std::max(width_, stageW_), h = std::max(height_, stageH_);
    if (pixelPerfect_) {
        const int k = std::max(1, std::min(w / std::max(1, stageW_), h / std::max(1, stageH_)));
        drawnW_ = stageW_ * k;
        drawnH_ = stageH_ * k;
    } else if (int64_t{w} * stageH_ <= int64_t{h} * stageW_) {
        // The width decides; the height keeps the stage's proportions.
        drawnW_ = w;
        drawnH_ = static_cast<int>(int64_t{w} * stageH_ / stageW_);
    } else {
        drawnH_ = h;
        drawnW_ = static_cast<int>(int64_t{h} * stageW_ / stageH_);
    }
    offsetX_ = std::max(0, (width_ - drawnW_) / 2);
    offsetY_ = std::max(0, (height_ - drawnH_) / 2);
}

void Viewport::SetPixelPerfect(bool on) {
    pixelPerfect_ = on;
    Fit(width_, height_);
}

int Viewport::WholeScale() const {
    if (stageW_ <= 0 || drawnW_ % stageW_ != 0) return 0;
    const int k = drawnW_ / stageW_;
    return drawnH_ == stageH_ * k ? k : 0;
}

std::pair<int, int> Viewport::ToStage(int x, int y) const {
    // The centre of drawable pixel d is d + 1/2; in stage pixels that is
    // (2d + 1) * stage / (2 * drawn).
    auto convert = [](int v, int offset, int stage, int drawn) {
        if (drawn <= 0) return v - offset;
        return static_cast<int>(FloorDiv((2 * int64_t{v - offset} + 1) * stage, 2 * int64_t{drawn}));
    };
    return {convert(x, offsetX_, stageW_, drawnW_), convert(y, offsetY_, stageH_, drawnH_)};
}

Rect Viewport::ToDrawable(const Rect& r) const {
    // The first drawable pixel whose centre maps to stage coordinate s or beyond:
    // ceil((2 s drawn / stage - 1) / 2).
    auto first = [](int s, int stage, int drawn) {
        if (stage <= 0) return s;
        const int64_t twice = 2 * int64_t{s} * drawn;  // 2 s drawn, over `stage`
        return static_cast<int>(-FloorDiv(-(twice - stage), 2 * int64_t{stage}));
    };
    const int x0 = first(r.x, stageW_, drawnW_), x1 = first(r.x + r.w, stageW_, drawnW_);
    const int y0 = first(r.y, stageH_, drawnH_), y1 = first(r.y + r.h, stageH_, drawnH_);
    return {offsetX_ + x0, offsetY_ + y0, x1 - x0, y1 - y0};
}

int Viewport::FirstWindowHalfSteps(int stageWidth, int stageHeight, int width, int height,
                                   bool whole) {
    if (stageWidth <= 0 || stageHeight <= 0) return 2;
    width -= kScreenMargin;
    height -= kScreenMargin;
    int halves = static_cast<int>(std::min(int64_t{2} * width / stageWidth,
                                           int64_t{2} * height / stageHeight));
    if (whole) halves -= halves % 2;
    return std::max(2, halves);
}

}  // namespace shell
