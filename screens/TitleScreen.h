// The title screen: logo, sample animation, top-five table, the animated-bubbles option and
// one button per difficulty; it also watches the keyboard for the word that opens the credits.
#pragma once

#include "applet/Screen.h"

namespace sph {

class TitleScreen : public Screen {
public:
    explicit TitleScreen(Applet* owner);
    ~TitleScreen() override;
};

}  // namespace sph
