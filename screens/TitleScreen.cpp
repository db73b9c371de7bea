// Stand-in title screen: clears the stage and reports that no game is running.
#include "screens/TitleScreen.h"

#include "applet/Applet.h"

namespace sph {

TitleScreen::TitleScreen(Applet* owner) : Screen(owner) {
    canvas->Clear(51, 153, 153);
    site->frame->SetGameActive(0);
}

TitleScreen::~TitleScreen() = default;

}  // namespace sph
