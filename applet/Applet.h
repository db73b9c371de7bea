// The one applet between Shell_StartApplet and Shell_StopApplet: it keeps the site's services,
// holds the assets more than one screen shares, answers the help request and owns the
// current screen.
#pragma once

#include "applet/Globals.h"

namespace sph {

class Screen;

class Applet {
public:
    // Start-up: takes the site's services, loads the shared assets, shows the title screen.
    explicit Applet(host::AppletSite* site);
    // Teardown: destroys the current screen, then releases every shared asset.
    ~Applet();
    Applet(const Applet&) = delete;
    Applet& operator=(const Applet&) = delete;

    // Destroys `oldScreen` (when given) and makes `newScreen` current. Called from inside a
    // callback of `oldScreen`, which must touch nothing of itself afterwards.
    void SwitchScreen(Screen* oldScreen, Screen* newScreen);

    // Makes a two-look text button at (x, y) on the main stage; the caller removes it from
    // the stage and releases it.
    host::Button* CreateTextButton(const char* label, int x, int y, int id, int fontSize,
                                   void* context, host::Callback handler);

    // Draws the help page on the help stage (the handler of the help request).
    int DrawHelpPage(const host::Event* event);

    host::Stage* stage = nullptr;
    host::Stage* helpStage = nullptr;
    Screen* currentScreen = nullptr;
    host::Factory* factory = nullptr;
    host::Subscription* helpSubscription = nullptr;
    host::AppletSite* site = nullptr;
    host::Sound* newGameSound = nullptr;
    host::Sound* highScoreSound = nullptr;
    host::Sound* bubbleDisappearSound = nullptr;
    host::Sound* dropBubbleSound = nullptr;
    host::Sound* levelWinSound = nullptr;
    host::Sound* levelLoseSound = nullptr;
    host::Sound* fadeInSound = nullptr;
    host::Sound* freeMoveSound = nullptr;
    host::Sound* gameOverSound = nullptr;
    host::Sprite* miniSampler = nullptr;
    host::Animation* checkboxAnimation = nullptr;
    host::Canvas* miniBubblePicture = nullptr;
    host::Canvas* boardTile = nullptr;
    host::Canvas* freeMoveTile = nullptr;
};

// Plays a sound the applet holds; a sound that was not loaded is skipped.
inline void PlaySound(host::Sound* sound) {
    if (sound != nullptr) sound->Play(0);
}

}  // namespace sph
