// Sprites and buttons. A sprite shows its animation's current frame with its top-left at its
// position, on the stage it was added to. A button is a sprite over a two-frame list made
// from the halves of its picture (frame 0 normal, frame 1 highlighted) that reports clicks.
#pragma once

#include "host/Drawing.h"
#include "shell/core/HostAnimation.h"
#include "shell/core/ObjectBase.h"

namespace shell {

class HostStage;

class HostSprite : public HostObject<host::Button> {
public:
    // Takes over one internal reference to `animation`.
    HostSprite(ObjectSpace& space, HostAnimation* animation, const char* kind = "Sprite",
               std::string label = {});

    HostAnimation* Animation() const { return animation_; }
    HostCanvas* Picture() { return animation_ != nullptr ? animation_->Current() : nullptr; }
    void Place(int x, int y) {
        x_ = x;
        y_ = y;
    }
    int X() const { return x_; }
    int Y() const { return y_; }
    Rect Bounds();
    // True when the picture's pixel under the stage point is not fully transparent.
    bool Hit(int x, int y);
    HostStage* GetStage() const { return stage_; }
    void SetStage(HostStage* stage) { stage_ = stage; }

    // Button side (unused for plain sprites).
    struct Click {
        void* context = nullptr;
        int32_t id = 0;
        host::Callback callback = nullptr;
    };
    bool IsButton() const { return isButton_; }
    void MakeButton(const Click& click);
    const Click& ClickTarget() const { return click_; }
    void SetHighlighted(bool on);
    bool Highlighted() const { return highlighted_; }

    void MoveTo(int32_t x, int32_t y, int32_t flags) override;
    void GetPosition(int32_t* x, int32_t* y) override;
    void StartAnimation() override;
    void GetAnimation(host::Animation** animation) override;
    void GetBitmap(host::Canvas** picture) override;

protected:
    void OnDisposed() override;

private:
    HostAnimation* animation_;
    int x_ = 0, y_ = 0;
    HostStage* stage_ = nullptr;
    bool isButton_ = false;
    bool highlighted_ = false;
    Click click_;
};

}  // namespace shell
