// Sprite state and hit testing.
#include "shell/core/HostSprite.h"

#include "shell/core/HostStage.h"
#include "shell/core/Trace.h"

namespace shell {

HostSprite::HostSprite(ObjectSpace& space, HostAnimation* animation, const char* kind,
                       std::string label)
    : HostObject(space, kind, std::move(label)), animation_(animation) {
    if (animation_ != nullptr) animation_->SetOwner(this);
}

void HostSprite::OnDisposed() {
    // A stage holds its own reference, so a disposed sprite is on no stage.
    if (animation_ != nullptr) {
        if (animation_->Owner() == this) animation_->SetOwner(nullptr);
        animation_->Drop();
    }
    animation_ = nullptr;
}

Rect HostSprite::Bounds() {
    HostCanvas* p = Picture();
    if (p == nullptr) return {x_, y_, 0, 0};
    return {x_, y_, p->Pixels().Width(), p->Pixels().Height()};
}

bool HostSprite::Hit(int x, int y) {
    HostCanvas* p = Picture();
    if (p == nullptr || !Bounds().Contains(x, y)) return false;
    return AlphaOf(p->Pixels().At(x - x_, y - y_)) != 0;
}

void HostSprite::MakeButton(const Click& click) {
    isButton_ = true;
    click_ = click;
}

void HostSprite::SetHighlighted(bool on) {
    if (!isButton_ || highlighted_ == on || animation_ == nullptr) return;
    highlighted_ = on;
    animation_->Show(on ? 1 : 0);
}

void HostSprite::MoveTo(int32_t x, int32_t y, int32_t flags) {
    TraceCall(this, "MoveTo", x, y, flags);
    x_ = x;
    y_ = y;
}

void HostSprite::GetPosition(int32_t* x, int32_t* y) {
    TraceCall(this, "GetPosition");
    if (x != nullptr) *x = x_;
    if (y != nullptr) *y = y_;
}

void HostSprite::StartAnimation() {
    TraceCall(this, "StartAnimation");
    if (animation_ != nullptr) animation_->Start();
}

void HostSprite::GetAnimation(host::Animation** animation) {
    TraceCall(this, "GetAnimation");
    if (animation == nullptr) return;
    if (animation_ == nullptr) {
        Log("%s used after its last release", Name().c_str());
        *animation = nullptr;
        return;
    }
    animation_->HandOut();
    *animation = animation_;
}

void HostSprite::GetBitmap(host::Canvas** picture) {
    TraceCall(this, "GetBitmap");
    if (picture == nullptr) return;
    HostCanvas* p = Picture();
    if (p == nullptr) {
        Log("%s used after its last release", Name().c_str());
        *picture = nullptr;
        return;
    }
    p->HandOut();
    *picture = p;
}

}  // namespace shell
