// The base of every screen: the services a screen draws with, and the stage's background
// canvas, of which each screen holds its own reference.
#pragma once

#include "host/Services.h"

namespace sph {

class Applet;

class Screen {
public:
    explicit Screen(Applet* owner);
    // A derived destructor releases what its screen made; this part releases the canvas.
    virtual ~Screen();
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    host::Factory* factory = nullptr;
    host::Stage* stage = nullptr;
    host::Canvas* canvas = nullptr;
    Applet* applet = nullptr;
    host::AppletSite* site = nullptr;
};

}  // namespace sph
