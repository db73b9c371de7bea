// Stand-in game screen: clears the stage and reports that a game is running.
#include "gamescreen/GameScreen.h"

#include "applet/Applet.h"

namespace sph {

GameScreen::GameScreen(Applet* owner, int chosen) : Screen(owner), difficulty(chosen) {
    canvas->Clear(51, 153, 153);
    site->frame->SetGameActive(1);
}

GameScreen::~GameScreen() = default;

}  // namespace sph
