// Rectangles in pixels (half-open: x in [x, x + w)) and the region of a stage that must be
// composited again.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace shell {

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;

    bool Empty() const { return w <= 0 || h <= 0; }
    int Right() const { return x + w; }
    int Bottom() const { return y + h; }
    bool Contains(int px, int py) const {
        return px >= x && py >= y && px < x + w && py < y + h;
    }
    // Whether every pixel of `o` is in this one (an empty `o` is in any).
    bool Contains(const Rect& o) const {
        return o.Empty() || (o.x >= x && o.y >= y && o.Right() <= Right() && o.Bottom() <= Bottom());
    }
    Rect Intersect(const Rect& o) const {
        const int l = std::max(x, o.x), t = std::max(y, o.y);
        const int r = std::min(Right(), o.Right()), b = std::min(Bottom(), o.Bottom());
        return r > l && b > t ? Rect{l, t, r - l, b - t} : Rect{};
    }
    Rect Union(const Rect& o) const {
        if (Empty()) return o;
        if (o.Empty()) return *this;
        const int l = std::min(x, o.x), t = std::min(y, o.y);
        const int r = std::max(Right(), o.Right()), b = std::max(Bottom(), o.Bottom());
        return {l, t, r - l, b - t};
    }
    bool operator==(const Rect&) const = default;
};

// A short list of rectangles. Overlapping or touching rectangles are merged as they arrive,
// and a list grown past a handful collapses into its bounding box: compositing a little too
// much costs less than bookkeeping many slivers.
class DirtyRegion {
public:
    void Add(const Rect& r);
    void AddAll(const DirtyRegion& other);
    void Clear() { rects_.clear(); }
    bool Empty() const { return rects_.empty(); }
    const std::vector<Rect>& Rects() const { return rects_; }
    Rect Bounds() const;

private:
    std::vector<Rect> rects_;
};

}  // namespace shell
