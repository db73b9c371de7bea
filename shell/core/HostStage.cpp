// Stage bookkeeping and compositing.
#include "shell/core/HostStage.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "shell/core/Trace.h"

namespace shell {

HostStage::HostStage(ObjectSpace& space, FontCache& fonts, int width, int height,
                     const char* label)
    : HostObject(space, "Stage", label, /*siteOwned=*/true),
      // The help stage may never be shown: its pixels are made when first drawn or composed.
      background_(space.Make<HostCanvas>(fonts, width, height, Argb(0, 0, 0), label)),
      width_(width > 0 ? width : 0),
      height_(height > 0 ? height : 0) {
    background_->SetDirtySink(&pending_);
    Invalidate();
}

HostSprite* HostStage::SpriteAt(int x, int y) const {
    for (auto it = sprites_.rbegin(); it != sprites_.rend(); ++it) {
        if ((*it)->Hit(x, y)) return *it;
    }
    return nullptr;
}

void HostStage::Invalidate() { pending_.Add(Rect{0, 0, width_, height_}); }

void HostStage::CollectChanges() {
    // Runs several times a frame (the loop asks whether anything changed), so the record of
    // what was shown is updated in place rather than rebuilt.
    ++generation_;
    background_->Settle();  // what was drawn on it is told to pending_
    for (HostSprite* s : sprites_) {
        Shown v;
        v.bounds = s->Bounds();
        v.picture = s->Picture();
        v.version = v.picture != nullptr ? v.picture->Version() : 0;
        v.seen = generation_;
        auto [it, added] = shown_.try_emplace(s, v);
        if (added) {
            pending_.Add(v.bounds);
            continue;
        }
        Shown& old = it->second;
        if (!(old.bounds == v.bounds) || old.picture != v.picture || old.version != v.version) {
            pending_.Add(old.bounds);
            pending_.Add(v.bounds);
        }
        old = v;
    }
    for (auto it = shown_.begin(); it != shown_.end();) {
        if (it->second.seen == generation_) {
            ++it;
            continue;
        }
        pending_.Add(it->second.bounds);
        it = shown_.erase(it);
    }
}

bool HostStage::Changed() {
    CollectChanges();
    return !pending_.Empty();
}

void HostStage::Draw(Pixmap& frame, const Rect& area) const {
    const Rect r = area.Intersect(frame.Bounds());
    if (r.Empty()) return;
    frame.CopyArea(background_->Pixels(), r);
    for (HostSprite* s : sprites_) {
        HostCanvas* p = s->Picture();
        if (p != nullptr) frame.Blend(p->Pixels(), s->X(), s->Y(), r);
    }
}

void HostStage::Compose(Pixmap& frame, DirtyRegion* changed) {
    CollectChanges();
    // An area drawn again with the same pixels (a game that repaints its clock bar on every
    // tick although it moves once a second) is not reported, so the window presents nothing
    // for it. Only areas up to a quarter of the stage are compared; a larger one is a new
    // screen and is taken as changed.
    const int64_t largestCompared = static_cast<int64_t>(frame.Width()) * frame.Height() / 4;
    std::vector<uint32_t> before;
    for (const Rect& r : pending_.Rects()) {
        const Rect clipped = r.Intersect(frame.Bounds());
        if (clipped.Empty()) continue;
        const bool compare =
            changed != nullptr && static_cast<int64_t>(clipped.w) * clipped.h <= largestCompared;
        if (compare) {
            before.resize(static_cast<size_t>(clipped.w) * clipped.h);
            for (int y = 0; y < clipped.h; ++y) {
                std::copy_n(frame.Row(clipped.y + y) + clipped.x, clipped.w,
                            before.data() + static_cast<size_t>(y) * clipped.w);
            }
        }
        Draw(frame, clipped);
        if (changed == nullptr) continue;
        bool same = compare;
        for (int y = 0; same && y < clipped.h; ++y) {
            same = std::equal(frame.Row(clipped.y + y) + clipped.x,
                              frame.Row(clipped.y + y) + clipped.Right(),
                              before.data() + static_cast<size_t>(y) * clipped.w);
        }
        if (!same) changed->Add(clipped);
    }
    pending_.Clear();
}

Pixmap HostStage::ComposeAll() {
    Pixmap frame(Width(), Height());
    Draw(frame, frame.Bounds());
    return frame;
}

void HostStage::Add(HostSprite* sprite) {
    if (sprite == nullptr || sprite->Disposed()) return;
    if (sprite->GetStage() == this) {
        Raise(sprite);
        return;
    }
    if (sprite->GetStage() != nullptr) sprite->GetStage()->Remove(sprite);
    sprite->Retain();
    sprite->SetStage(this);
    sprites_.push_back(sprite);
}

void HostStage::Remove(HostSprite* sprite) {
    auto it = std::find(sprites_.begin(), sprites_.end(), sprite);
    if (it == sprites_.end()) return;
    sprites_.erase(it);
    sprite->SetStage(nullptr);
    sprite->Drop();
}

void HostStage::Raise(HostSprite* sprite) {
    auto it = std::find(sprites_.begin(), sprites_.end(), sprite);
    if (it == sprites_.end() || it + 1 == sprites_.end()) return;
    sprites_.erase(it);
    sprites_.push_back(sprite);
    pending_.Add(sprite->Bounds());
}

void HostStage::AddSprite(host::Sprite* sprite) {
    TraceCall(this, "AddSprite", sprite);
    Add(As<HostSprite>(sprite));
}

void HostStage::RemoveSprite(host::Sprite* sprite) {
    TraceCall(this, "RemoveSprite", sprite);
    Remove(As<HostSprite>(sprite));
}

void HostStage::RaiseSprite(host::Sprite* sprite) {
    TraceCall(this, "RaiseSprite", sprite);
    Raise(As<HostSprite>(sprite));
}

void HostStage::GetCanvas(host::Canvas** canvas) {
    TraceCall(this, "GetCanvas");
    if (canvas == nullptr) return;
    background_->HandOut();
    *canvas = background_;
}

}  // namespace shell
