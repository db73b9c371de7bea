// The "Use Animated Bubbles" check box of the title screen: a two-frame sprite (frame 0
// unchecked, frame 1 checked) that flips on every click.
#pragma once

#include "host/Services.h"

namespace sph {

class Applet;

class CheckBox {
public:
    // Puts the box on the main stage, unchecked; no frame is chosen until SetChecked.
    explicit CheckBox(Applet* owner);
    // Takes the box off the stage and releases everything it holds.
    ~CheckBox();
    CheckBox(const CheckBox&) = delete;
    CheckBox& operator=(const CheckBox&) = delete;

    // Flips the state and shows the matching frame; returns 0.
    int Toggle();
    bool IsChecked() const { return checked; }
    // Sets the state and shows the matching frame.
    void SetChecked(bool value);

    host::Sprite* sprite = nullptr;
    host::Animation* animation = nullptr;
    host::Subscription* clickSubscription = nullptr;
    bool checked = false;
};

// The box of the current title screen, or null while no title screen exists. The difficulty
// handler reads it; only one title screen, and so only one box, exists at a time.
extern CheckBox* titleCheckBox;

}  // namespace sph
