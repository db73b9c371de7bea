// Stand-in text button: a plain button with a blank picture.
#include "applet/Applet.h"

namespace sph {

host::Button* Applet::CreateTextButton(const char*, int x, int y, int id, int, void* context,
                                       host::Callback handler) {
    host::Canvas* image = factory->CreateCanvas(8, 8, 0);
    host::Button* button = factory->CreateButton(stage, context, x, y, 4, 8, image, 0, id, handler);
    image->Release();
    return button;
}

}  // namespace sph
