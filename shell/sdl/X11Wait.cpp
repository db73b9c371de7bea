// Sleeping on the X connection.
#include "shell/sdl/X11Wait.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <dlfcn.h>
#include <poll.h>

namespace shell {

EventWaiter::~EventWaiter() = default;

struct EventWaiter::XConnection {
    Display* display = nullptr;
    int fd = -1;
    int (*eventsQueued)(Display*, int) = nullptr;
    int (*flush)(Display*) = nullptr;
};

bool EventWaiter::Wait(SDL_Event* e, int ms) {
    if (!probed_ && window_ != nullptr) {
        probed_ = true;
        SDL_SysWMinfo info;
        SDL_VERSION(&info.version);
        // Xlib as SDL already loaded it: nothing new is loaded here.
        void* xlib = dlopen("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD);
        if (xlib != nullptr && SDL_GetWindowWMInfo(window_, &info) == SDL_TRUE &&
            info.subsystem == SDL_SYSWM_X11 && info.info.x11.display != nullptr) {
            auto x = std::make_shared<XConnection>();
            x->display = info.info.x11.display;
            x->fd = ConnectionNumber(x->display);
            x->eventsQueued =
                reinterpret_cast<int (*)(Display*, int)>(dlsym(xlib, "XEventsQueued"));
            x->flush = reinterpret_cast<int (*)(Display*)>(dlsym(xlib, "XFlush"));
            if (x->fd >= 0 && x->eventsQueued != nullptr && x->flush != nullptr) x_ = x;
        }
    }
    if (ms < 0) return SDL_WaitEvent(e) != 0;
    if (!x_ || ms == 0) return SDL_WaitEventTimeout(e, ms) != 0;
    // Events SDL already holds, or that Xlib has read but SDL not yet taken, need no sleep.
    if (SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT) == SDL_FALSE &&
        x_->eventsQueued(x_->display, QueuedAlready) == 0) {
        x_->flush(x_->display);
        pollfd p{x_->fd, POLLIN, 0};
        const int ready = poll(&p, 1, ms);
        // Woken by the clock alone: SDL has nothing new to read. A signal (ready < 0) may have
        // left SDL a quit to deliver, so it looks.
        if (ready == 0) return false;
    }
    return SDL_PollEvent(e) != 0;
}

}  // namespace shell
