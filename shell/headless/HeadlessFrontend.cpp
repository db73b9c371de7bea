// The null front end.
#include "shell/headless/HeadlessFrontend.h"

#include "host/Object.h"

namespace shell {

bool HeadlessFrontend::WaitEvent(ShellEvent* event, int ms) {
    if (!queue_.empty()) {
        *event = queue_.front();
        queue_.pop_front();
        return true;
    }
    if (ms > 0) clock_.now += ms;
    return false;
}

void HeadlessFrontend::DrawableSize(int* width, int* height) {
    *width = width_ > 0 ? width_ : host::kStageWidth;
    *height = height_ > 0 ? height_ : host::kStageHeight;
}

void HeadlessFrontend::Present(const Pixmap& view, const DirtyRegion& changed, const Viewport&,
                               bool all) {
    if (all || shown_.Width() != view.Width() || shown_.Height() != view.Height()) {
        shown_ = view;
    } else {
        for (const Rect& r : changed.Rects()) shown_.CopyArea(view, r);
    }
    ++presents_;
    if (observer_) observer_(shown_);
}

}  // namespace shell
