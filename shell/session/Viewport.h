// Where the stage sits in the window: its size on the drawable area and its offset. Any size
// scales smoothly by default, keeping the stage's proportions with the stage centred; with
// whole-number ("pixel-perfect") scaling only whole factors are used. Front ends draw through
// it and the input layer maps pointer positions back through it, in exact integer arithmetic,
// so both agree to the pixel at every scale.
#pragma once

#include <utility>

#include "shell/core/Rect.h"

namespace shell {

class Viewport {
public:
    Viewport(int stageWidth, int stageHeight) : stageW_(stageWidth), stageH_(stageHeight) {}

    // The drawable area is now width x height pixels: the largest stage that fits is taken
    // (never smaller than the stage itself) and centred.
    void Fit(int width, int height);
    // Whole factors only; refits to the same area.
    void SetPixelPerfect(bool on);
    bool PixelPerfect() const { return pixelPerfect_; }

    // The stage's size on the drawable area, and its top-left there.
    int DrawnWidth() const { return drawnW_; }
    int DrawnHeight() const { return drawnH_; }
    int OffsetX() const { return offsetX_; }
    int OffsetY() const { return offsetY_; }
    // The whole factor when the stage is drawn at one (every stage pixel a square of screen
    // pixels); 0 otherwise.
    int WholeScale() const;
    double Scale() const { return static_cast<double>(drawnW_) / stageW_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    int StageWidth() const { return stageW_; }
    int StageHeight() const { return stageH_; }

    // The stage pixel under the centre of a drawable pixel (also outside the stage).
    std::pair<int, int> ToStage(int x, int y) const;
    // The drawable pixels a stage rectangle covers (every pixel whose centre lies in it).
    Rect ToDrawable(const Rect& stage) const;

    // The first window's scale on a screen whose usable area (without panels) is `width` x
    // `height`: the largest in half steps (1, 1.5, 2, ...; whole steps when `whole`) that
    // leaves room for the window's frame, as twice the factor; at least 2 (the factor 1).
    static int FirstWindowHalfSteps(int stageWidth, int stageHeight, int width, int height,
                                    bool whole);
    // Room left around the first window for its frame and title bar.
    static constexpr int kScreenMargin = 64;

private:
    int stageW_, stageH_;
    bool pixelPerfect_ = false;
    int width_ = 0, height_ = 0;
    int drawnW_ = 0, drawnH_ = 0;
    int offsetX_ = 0, offsetY_ = 0;
};

}  // namespace shell
