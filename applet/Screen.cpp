// The screen base: takes its own reference to the main stage's background canvas.
#include "applet/Screen.h"

#include "applet/Applet.h"

namespace sph {

Screen::Screen(Applet* owner)
    : factory(owner->factory), stage(owner->stage), applet(owner), site(owner->site) {
    stage->GetCanvas(&canvas);
}

Screen::~Screen() {
    canvas->Release();
}

}  // namespace sph
