// Where the stage sits in the window: its scale and offset in the drawable area. Front ends
// draw through it and the input layer maps pointer positions back through it, so both agree
// to the pixel at every scale.
#pragma once

#include <utility>

#include "shell/core/Rect.h"

namespace shell {

class Viewport {
public:
    Viewport(int stageWidth, int stageHeight) : stageW_(stageWidth), stageH_(stageHeight) {}

    // The drawable area is now width x height pixels: the largest whole scale that fits is
    // taken and the stage is centred.
    void Fit(int width, int height);

    int Scale() const { return scale_; }
    int OffsetX() const { return offsetX_; }
    int OffsetY() const { return offsetY_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    int StageWidth() const { return stageW_; }
    int StageHeight() const { return stageH_; }

    // A drawable point in stage pixels (rounded down, also outside the stage).
    std::pair<int, int> ToStage(int x, int y) const;
    // A stage rectangle in drawable pixels.
    Rect ToDrawable(const Rect& stage) const;

private:
    int stageW_, stageH_;
    int width_ = 0, height_ = 0;
    int scale_ = 1;
    int offsetX_ = 0, offsetY_ = 0;
};

}  // namespace shell
