// Merging of dirty rectangles.
#include "shell/core/Rect.h"

namespace shell {

namespace {
constexpr size_t kMaxRects = 8;

// Touching counts as overlapping: two neighbouring strips become one present.
bool Touch(const Rect& a, const Rect& b) {
    return a.x <= b.Right() && b.x <= a.Right() && a.y <= b.Bottom() && b.y <= a.Bottom();
}
}  // namespace

void DirtyRegion::Add(const Rect& r) {
    if (r.Empty()) return;
    // Most often it is already in: a bar's marks drawn after the bar.
    for (const Rect& in : rects_) {
        if (in.Contains(r)) return;
    }
    Rect merged = r;
    // Keep merging until nothing left touches the growing rectangle.
    for (bool again = true; again;) {
        again = false;
        for (size_t i = 0; i < rects_.size(); ++i) {
            if (Touch(rects_[i], merged)) {
                merged = merged.Union(rects_[i]);
                rects_.erase(rects_.begin() + static_cast<long>(i));
                again = true;
                break;
            }
        }
    }
    rects_.push_back(merged);
    if (rects_.size() > kMaxRects) {
        const Rect all = Bounds();
        rects_.assign(1, all);
    }
}

void DirtyRegion::AddAll(const DirtyRegion& other) {
    for (const Rect& r : other.rects_) Add(r);
}

Rect DirtyRegion::Bounds() const {
    Rect all;
    for (const Rect& r : rects_) all = all.Union(r);
    return all;
}

}  // namespace shell
