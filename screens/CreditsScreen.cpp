// The credits page: drawn once at construction, left through its one button.
#include "screens/CreditsScreen.h"

#include <cstdio>
#include <new>

#include "applet/Applet.h"
#include "screens/TitleScreen.h"
#include "text/Markup.h"

namespace sph {

// What the game is made of and ships with, and where it runs; each line fits the stage
// centred at 12 px bold.
const char* const kContributors[kContributorCount] = {
    "SDL2 - window, input and sound",
    "stb_truetype from the stb libraries - text",
    "giflib - pictures",
    "libpng and zlib - screenshots",
    "fontconfig - finding the font",
    "Liberation Sans - the typeface",
    "Liberation fonts: SIL Open Font License",
    "FreeType - the logo's lettering, at build time",
    "emscripten - the web version",
    "The C and C++ standard libraries",
    "Pictures drawn by the game's own generator",
    "Sounds synthesised by the same generator",
    "Bubbles, board, logo and icons, all from code",
    "Help page written for the game",
    "Help and credits drawn in the game's own markup",
    "Runs on Linux desktops through SDL2",
    "and in web browsers through emscripten",
    "Packaged for Debian 12",
    "Spherolette is free software (MIT)",
    "Made by the Spherolette developers",
    // The last line shares its height with the return button: keep it short enough to stay
    // clear of the button's left edge.
    "Thanks for playing!",
};

namespace {

constexpr int kButtonFontSize = 18;
constexpr int kFirstLineY = 30;
constexpr int kLineHeight = 18;
constexpr int32_t kTickMs = 100;
// The line wrapper is 27 characters; contributor texts are short.
constexpr int kLineCapacity = 256;

int OnReturnClicked(const host::Event* event) {
    return static_cast<CreditsScreen*>(event->context)->OnReturnToGame(event);
}

int OnTick(const host::Event* event) {
    return static_cast<CreditsScreen*>(event->context)->OnCreditsTick(event);
}

}  // namespace

CreditsScreen::CreditsScreen(Applet* owner) : Screen(owner) {
    canvas->Clear(51, 153, 153);
    returnButton = applet->CreateTextButton("Return to Game", 348, 397, 0, kButtonFontSize, this,
                                            OnReturnClicked);
    // "<c>" centres each line on the canvas, whatever x is given.
    DrawMarkup(canvas,
               "<S3><c><b><c000000>Lame Credits screen this time (no time to do a real one!)"
               "</b></c>",
               0, 10);
    for (int i = 0; i < kContributorCount; ++i) {
        char line[kLineCapacity];
        std::snprintf(line, sizeof line, "<S3><c><b><c000000>%s</b></c>", kContributors[i]);
        DrawMarkup(canvas, line, 0, kFirstLineY + kLineHeight * i);
    }
    timer = factory->CreateTimer(this, kTickMs, OnTick);
    timer->Start();
}

CreditsScreen::~CreditsScreen() {
    stage->RemoveSprite(returnButton);
    returnButton->Release();
    timer->Release();
}

int CreditsScreen::OnReturnToGame(const host::Event*) {
    Applet* owner = applet;
    Screen* title = new (std::nothrow) TitleScreen(owner);
    owner->SwitchScreen(this, title);
    return 0;  // this screen is gone
}

int CreditsScreen::OnCreditsTick(const host::Event*) {
    return 0;
}

}  // namespace sph
