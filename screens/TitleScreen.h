// The title screen: logo, sample animation, top-five table, the animated-bubbles option and
// one button per difficulty; it also watches the keyboard for the word that opens the credits.
#pragma once

#include "applet/Screen.h"

namespace sph {

constexpr int kDifficultyCount = 5;

// Letters of the credits word typed in a row so far (0..6 between keys). It belongs to no
// screen, so a partly typed word survives a trip through a game.
extern int creditsKeyCount;

class TitleScreen : public Screen {
public:
    // Draws the whole screen, shows the table and the option from the store, makes the buttons.
    explicit TitleScreen(Applet* owner);
    ~TitleScreen() override;

    // A difficulty button: saves the option and replaces this screen with a game.
    int OnDifficultyChosen(const host::Event* event);
    // A typed key: counts letters of the credits word and opens the credits on the last one.
    int OnKeyTyped(const host::Event* event);
    // The top-five panel, seeding the default table into an empty store first.
    void DrawHighScores();

    host::Button* difficultyButtons[kDifficultyCount] = {};
    host::Subscription* keySubscription = nullptr;
};

}  // namespace sph
