// The two-frame check box: made from the applet's check box animation, clicked through the
// pointer-release event of its own sprite.
#include "screens/CheckBox.h"

#include "applet/Applet.h"
#include "applet/Globals.h"

namespace sph {

CheckBox* titleCheckBox = nullptr;

namespace {

constexpr int32_t kSpriteMode = 2;
constexpr int32_t kUncheckedFrame = 0;
constexpr int32_t kCheckedFrame = 1;

int OnCheckBoxClicked(const host::Event* event) {
    return static_cast<CheckBox*>(event->context)->Toggle();
}

}  // namespace

CheckBox::CheckBox(Applet* owner) {
    sprite = sph::factory->CreateSprite(owner->checkboxAnimation, kSpriteMode);
    // The sprite's own animation selects the frame shown, leaving the shared one untouched.
    sprite->GetAnimation(&animation);
    sph::stage->AddSprite(sprite);
    clickSubscription =
        sph::factory->Subscribe(sprite, host::kEventPointerReleased, this, OnCheckBoxClicked);
    checked = false;
}

CheckBox::~CheckBox() {
    clickSubscription->Release();
    animation->Release();
    sph::stage->RemoveSprite(sprite);
    sprite->Release();
}

int CheckBox::Toggle() {
    SetChecked(!checked);
    return 0;
}

void CheckBox::SetChecked(bool value) {
    checked = value;
    animation->SetFrame(checked ? kCheckedFrame : kUncheckedFrame);
}

}  // namespace sph
