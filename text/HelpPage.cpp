// Stand-in help page: clears the help stage.
#include "applet/Applet.h"

namespace sph {

int Applet::DrawHelpPage(const host::Event*) {
    host::Canvas* canvas = nullptr;
    helpStage->GetCanvas(&canvas);
    canvas->Clear(255, 153, 0);
    canvas->Release();
    return 0;
}

}  // namespace sph
