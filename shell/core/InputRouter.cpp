// Pointer routing.
#include "shell/core/InputRouter.h"

namespace shell {

InputRouter::~InputRouter() { Reset(); }

void InputRouter::Reset() {
    if (captured_ != nullptr) captured_->Drop();
    if (hovered_ != nullptr) hovered_->Drop();
    captured_ = nullptr;
    hovered_ = nullptr;
}

void InputRouter::Deliver(HostSprite* sprite, int32_t code, int x, int y) {
    events_.Dispatch(sprite, code, x - sprite->X(), y - sprite->Y());
}

void InputRouter::Hover(HostSprite* button) {
    if (button == hovered_) return;
    if (hovered_ != nullptr) {
        hovered_->SetHighlighted(false);
        hovered_->Drop();
    }
    hovered_ = button;
    if (hovered_ != nullptr) {
        hovered_->Retain();
        hovered_->SetHighlighted(true);
    }
}

void InputRouter::Press(int x, int y) {
    if (captured_ != nullptr || events_.Held()) return;
    HostSprite* target = stage_.SpriteAt(x, y);
    if (target == nullptr) return;
    captured_ = target;
    captured_->Retain();
    Hover(target->IsButton() ? target : nullptr);
    Deliver(target, host::kEventPointerPressed, x, y);
}

void InputRouter::Move(int x, int y) {
    if (events_.Held()) return;
    if (captured_ == nullptr) {
        HostSprite* over = stage_.SpriteAt(x, y);
        Hover(over != nullptr && over->IsButton() ? over : nullptr);
        return;
    }
    if (captured_->IsButton()) {
        Hover(captured_->GetStage() == &stage_ && stage_.SpriteAt(x, y) == captured_ ? captured_
                                                                                      : nullptr);
    }
    HostSprite* target = captured_;
    target->Retain();  // the callback may release the applet's reference
    Deliver(target, host::kEventPointerMoved, x, y);
    target->Drop();
}

void InputRouter::Release(int x, int y) {
    if (captured_ == nullptr) return;
    HostSprite* target = captured_;
    captured_ = nullptr;  // a callback may start a new capture (a dialog, a press)
    if (!events_.Held()) {
        Deliver(target, host::kEventPointerReleased, x, y);
        // A click: pressed and released on the same button, which is still shown.
        if (target->IsButton() && !target->Disposed() && target->GetStage() == &stage_ &&
            stage_.SpriteAt(x, y) == target && !events_.Held()) {
            const HostSprite::Click click = target->ClickTarget();
            lastClickId_ = click.id;
            ++clicks_;
            RunCallback(click.callback, click.context, click.id, 0,
                        ("click of " + target->Name()).c_str());
        }
    }
    target->Drop();
    HostSprite* over = stage_.SpriteAt(x, y);
    Hover(over != nullptr && over->IsButton() ? over : nullptr);
}

void InputRouter::Leave() {
    if (captured_ == nullptr) Hover(nullptr);
}

}  // namespace shell
