// The credits page, opened by typing the word on the title screen: a header, one centred
// line per contributor and a button back to a new title screen.
#pragma once

#include "applet/Screen.h"

namespace sph {

constexpr int kContributorCount = 21;

// The contributor lines, in the order they are shown.
extern const char* const kContributors[kContributorCount];

class CreditsScreen : public Screen {
public:
    explicit CreditsScreen(Applet* owner);
    ~CreditsScreen() override;

    // The return button: replaces this screen with a new title screen.
    int OnReturnToGame(const host::Event* event);
    // The page's 100 ms timer; nothing moves on it yet.
    int OnCreditsTick(const host::Event* event);

    host::Timer* timer = nullptr;
    host::Button* returnButton = nullptr;
};

}  // namespace sph
