// Waiting for SDL's next event. While a game runs its clock wakes the loop some fifty times a
// second, and every wait in SDL starts by reading the X connection over and over. On X11 the
// waiter sleeps on the connection itself and lets SDL read it only when something arrived;
// elsewhere SDL waits as usual. (Xlib's headers stay inside this file's implementation.)
#pragma once

#include <memory>

struct SDL_Window;
union SDL_Event;

namespace shell {

class EventWaiter {
public:
    explicit EventWaiter(SDL_Window* window) : window_(window) {}
    ~EventWaiter();
    // Waits up to `ms` (negative: as long as it takes) for an SDL event; true with it in *e.
    bool Wait(SDL_Event* e, int ms);

private:
    SDL_Window* window_;
    struct XConnection;
    std::shared_ptr<XConnection> x_;  // the X display's connection, when SDL runs on X11
    bool probed_ = false;
};

}  // namespace shell
