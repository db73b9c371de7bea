// The composed stage as the window's pixels, through a viewport: every stage pixel a square of
// screen pixels at whole factors, filtered (bilinear) at any other size. A drawable pixel's
// value depends only on the stage and the viewport, so redrawing a part of the window gives
// the same pixels as redrawing all of it.
#pragma once

#include <cstdint>
#include <vector>

#include "shell/core/Pixmap.h"
#include "shell/session/Viewport.h"

namespace shell {

class StageScaler {
public:
    // Writes the drawable pixels of `area` that show the stage (the rest of `area` is left
    // alone) as 0xFFRRGGBB: out[(y - area.y) * pitch + (x - area.x)] for drawable (x, y).
    void Scale(const Pixmap& stage, const Viewport& viewport, const Rect& area, uint32_t* out,
               int pitch);
    // The drawable area a change of the stage's `changed` pixels shows in (filtering reaches
    // one stage pixel around them), within the drawn stage.
    static Rect Reach(const Viewport& viewport, const Rect& changed);

private:
    // Where a drawable column (or row) takes its value: between stage pixels i0 and i1, with
    // weight w / 256 on i1.
    struct Tap {
        int i0 = 0, i1 = 0;
        uint32_t w = 0;
    };
    static std::vector<Tap> Taps(int drawn, int stage, int whole);
    void Prepare(const Viewport& viewport);

    int drawnW_ = -1, drawnH_ = -1, stageW_ = -1, stageH_ = -1;
    std::vector<Tap> columns_, rows_;
};

}  // namespace shell
