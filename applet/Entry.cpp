// The library's exported entry points and its load notification.
#include <new>

#include "applet/Applet.h"
#include "game/Board.h"
#include "host/Applet.h"
#include "screens/TitleScreen.h"

namespace sph {

HMODULE moduleHandle = nullptr;
Applet* theApplet = nullptr;
host::Factory* factory = nullptr;
host::Stage* stage = nullptr;
host::FrameList* bubbleFrames[kBubbleKinds] = {};
bool animatedBubbles = true;

}  // namespace sph

// Records the module on every notification and always reports success.
BOOL DllMain(HMODULE module, DWORD, void*) {
    sph::moduleHandle = module;
    return TRUE;
}

namespace {

__attribute__((constructor)) void OnLibraryLoaded() {
    DllMain(platform::ThisModule(), DLL_PROCESS_ATTACH, nullptr);
}

__attribute__((destructor)) void OnLibraryUnloaded() {
    DllMain(platform::ThisModule(), DLL_PROCESS_DETACH, nullptr);
}

}  // namespace

namespace sph {

// A shell may stop the applet and start it again in the same process (to leave a game). The
// values that live once per library then start as they did when it was loaded, so a game
// after a restart plays exactly as the same game in a fresh process would.
void ResetLibraryState() {
    firstTick = true;
    creditsKeyCount = 0;
    animatedBubbles = true;
}

}  // namespace sph

extern "C" __attribute__((visibility("default"))) int Shell_StartApplet(host::AppletSite* site) {
    // One applet per library: a second start while one runs only passes the title again.
    if (sph::theApplet == nullptr) {
        sph::ResetLibraryState();
        sph::theApplet = new (std::nothrow) sph::Applet(site);
    }
    return site->frame->SetTitle("Spherolette");
}

extern "C" __attribute__((visibility("default"))) int Shell_StopApplet() {
    if (sph::theApplet == nullptr) return 0;
    sph::Applet* applet = sph::theApplet;
    delete applet;
    sph::theApplet = nullptr;
    return 0;
}
