// Start-up and teardown of the applet, in the orders the shell and the screens rely on,
// and the screen switch.
#include "applet/Applet.h"

#include <cstdio>
#include <initializer_list>
#include <new>

#include "applet/Screen.h"
#include "screens/TitleScreen.h"

namespace sph {

namespace {

int OnHelpRequested(const host::Event* event) {
    return static_cast<Applet*>(event->context)->DrawHelpPage(event);
}

}  // namespace

Applet::Applet(host::AppletSite* owner) : site(owner) {
    sph::factory = site->factory;
    sph::stage = site->stage;

    stage = site->stage;
    helpStage = site->helpStage;
    factory = site->factory;

    // An early request for a small offscreen canvas that some shells use to prime their
    // drawing; nothing keeps it, so it is given straight back.
    if (host::Canvas* primer = factory->CreateCanvas(100, 100, 0)) primer->Release();

    helpSubscription =
        factory->Subscribe(site->frame, host::kEventHelpRequested, this, OnHelpRequested);
    site->frame->Configure(51);

    for (int kind = 0; kind < kBubbleKinds; ++kind) {
        char name[32];
        std::snprintf(name, sizeof name, "p-img-Bubble%d.gif", kind);
        host::Sprite* image = factory->LoadImage(name, 0);
        host::Animation* animation = nullptr;
        image->GetAnimation(&animation);
        animation->GetFrames(&bubbleFrames[kind]);
        animation->Release();
        image->Release();
    }
    // The unused kind and the pop play once and stop on their last frame.
    bubbleFrames[8]->SetLooping(0);
    bubbleFrames[kPopKind]->SetLooping(0);

    newGameSound = factory->LoadSound("p-NewGame.wav", 0);
    highScoreSound = factory->LoadSound("p-HighScore.wav", 0);
    bubbleDisappearSound = factory->LoadSound("p-BubbleDisappear.wav", 0);
    dropBubbleSound = factory->LoadSound("p-DropBubble.wav", 0);
    levelWinSound = factory->LoadSound("p-LevelWin.wav", 0);
    levelLoseSound = factory->LoadSound("p-LevelLose.wav", 0);
    fadeInSound = factory->LoadSound("p-FadeIn.wav", 0);
    gameOverSound = factory->LoadSound("p-GameOver.wav", 0);
    freeMoveSound = factory->LoadSound("p-FreeMove.wav", 0);

    miniSampler = factory->LoadImage("p-mini-sampler.gif", 0);
    miniSampler->StartAnimation();

    host::Sprite* checkBoxImage = factory->LoadImage("CheckBox.gif", 0);
    checkBoxImage->GetAnimation(&checkboxAnimation);
    checkBoxImage->Release();

    host::Sprite* miniBubble = factory->LoadImage("p-mini-bubble.gif", 0);
    miniBubble->GetBitmap(&miniBubblePicture);
    miniBubble->Release();

    host::Sprite* tiles = factory->LoadImage("P-IMG-BUBBLEBG", 0);
    host::Animation* tileAnimation = nullptr;
    tiles->GetAnimation(&tileAnimation);
    host::FrameList* tileFrames = nullptr;
    tileAnimation->GetFrames(&tileFrames);
    tileFrames->GetFrame(0, &boardTile);
    tileFrames->GetFrame(1, &freeMoveTile);
    tileFrames->Release();
    tileAnimation->Release();
    tiles->Release();

    SwitchScreen(nullptr, new (std::nothrow) TitleScreen(this));
}

Applet::~Applet() {
    helpSubscription->Release();
    if (currentScreen != nullptr) {
        delete currentScreen;
        currentScreen = nullptr;
    }
    miniBubblePicture->Release();
    boardTile->Release();
    freeMoveTile->Release();
    for (host::FrameList*& frames : bubbleFrames) {
        frames->Release();
        frames = nullptr;
    }
    miniSampler->Release();
    checkboxAnimation->Release();
    for (host::Sound* sound : {newGameSound, highScoreSound, bubbleDisappearSound,
                               dropBubbleSound, levelWinSound, levelLoseSound, fadeInSound,
                               gameOverSound, freeMoveSound}) {
        if (sound != nullptr) sound->Release();
    }
}

void Applet::SwitchScreen(Screen* oldScreen, Screen* newScreen) {
    delete oldScreen;
    currentScreen = newScreen;
}

}  // namespace sph
