// Scaling the stage for the window.
#include "shell/session/StageScaler.h"

#include <algorithm>

namespace shell {

namespace {

int64_t FloorDiv(int64_t a, int64_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

// a + (b - a) * w / 256 on each of the three colour channels, two at a time.
inline uint32_t Mix(uint32_t a, uint32_t b, uint32_t w) {
    const uint32_t rbA = a & 0xFF00FFu, rbB = b & 0xFF00FFu;
    const uint32_t gA = a & 0x00FF00u, gB = b & 0x00FF00u;
    const uint32_t rb = (rbA * (256 - w) + rbB * w) >> 8 & 0xFF00FFu;
    const uint32_t g = (gA * (256 - w) + gB * w) >> 8 & 0x00FF00u;
    return 0xFF000000u | rb | g;
}

}  // namespace

std::vector<StageScaler::Tap> StageScaler::Taps(int drawn, int stage, int whole) {
    std::vector<Tap> taps(static_cast<size_t>(std::max(0, drawn)));
    for (int d = 0; d < drawn; ++d) {
        Tap& t = taps[static_cast<size_t>(d)];
        if (whole > 0) {
            t.i0 = t.i1 = d / whole;
            continue;
        }
        // The centre of drawable pixel d, in stage pixels, less the half pixel to the centre
        // of stage pixel 0, in 1/256 steps.
        const int64_t u = FloorDiv((2 * int64_t{d} + 1) * stage * 256, 2 * int64_t{drawn}) - 128;
        const int64_t i = FloorDiv(u, 256);
        t.w = static_cast<uint32_t>(u - i * 256);
        t.i0 = static_cast<int>(std::clamp<int64_t>(i, 0, stage - 1));
        t.i1 = static_cast<int>(std::clamp<int64_t>(i + 1, 0, stage - 1));
    }
    return taps;
}

void StageScaler::Prepare(const Viewport& v) {
    if (v.DrawnWidth() == drawnW_ && v.DrawnHeight() == drawnH_ && v.StageWidth() == stageW_ &&
        v.StageHeight() == stageH_) {
        return;
    }
    drawnW_ = v.DrawnWidth();
    drawnH_ = v.DrawnHeight();
    stageW_ = v.StageWidth();
    stageH_ = v.StageHeight();
    const int whole = v.WholeScale();
    columns_ = Taps(drawnW_, stageW_, whole);
    rows_ = Taps(drawnH_, stageH_, whole);
}

Rect StageScaler::Reach(const Viewport& v, const Rect& changed) {
    const Rect grown{changed.x - 1, changed.y - 1, changed.w + 2, changed.h + 2};
    const Rect drawn{v.OffsetX(), v.OffsetY(), v.DrawnWidth(), v.DrawnHeight()};
    return v.ToDrawable(grown).Intersect(drawn);
}

void StageScaler::Scale(const Pixmap& stage, const Viewport& v, const Rect& area, uint32_t* out,
                        int pitch) {
    Prepare(v);
    if (stage.Width() != stageW_ || stage.Height() != stageH_) return;
    const Rect drawn{v.OffsetX(), v.OffsetY(), v.DrawnWidth(), v.DrawnHeight()};
    const Rect r = area.Intersect(drawn);
    if (r.Empty()) return;
    for (int y = r.y; y < r.Bottom(); ++y) {
        const Tap& row = rows_[static_cast<size_t>(y - v.OffsetY())];
        const uint32_t* top = stage.Row(row.i0);
        const uint32_t* bottom = stage.Row(row.i1);
        uint32_t* dst = out + static_cast<size_t>(y - area.y) * pitch + (r.x - area.x);
        for (int x = r.x; x < r.Right(); ++x) {
            const Tap& col = columns_[static_cast<size_t>(x - v.OffsetX())];
            const uint32_t above = col.w == 0 ? top[col.i0] : Mix(top[col.i0], top[col.i1], col.w);
            const uint32_t below =
                row.w == 0 ? above
                           : col.w == 0 ? bottom[col.i0] : Mix(bottom[col.i0], bottom[col.i1], col.w);
            *dst++ = row.w == 0 ? (above | 0xFF000000u) : Mix(above, below, row.w);
        }
    }
}

}  // namespace shell
