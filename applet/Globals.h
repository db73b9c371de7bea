// Values that exist once per loaded library. They are valid because a library holds at most
// one applet, and an applet at most one current screen.
#pragma once

#include "host/Services.h"
#include "platform/Win32.h"

namespace sph {

class Applet;

constexpr int kBubbleKinds = 10;     // frame sets 0..7 colours, 8 unused, 9 the pop
constexpr int kPopKind = 9;
constexpr int kFirstStillKind = 8;   // kinds from here on always animate and take no input

extern HMODULE moduleHandle;         // this library's module, stored on every load notification
extern Applet* theApplet;            // the running applet, or null
extern host::Factory* factory;       // the site's factory, for code that holds no applet
extern host::Stage* stage;           // the site's main stage, likewise
extern host::FrameList* bubbleFrames[kBubbleKinds];  // index = bubble kind
extern bool animatedBubbles;         // new coloured bubbles play their animation

}  // namespace sph
