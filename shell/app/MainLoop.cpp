// The main loop.
#include "shell/app/MainLoop.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <dlfcn.h>
#include <poll.h>

#include <algorithm>

#include "shell/app/Comforts.h"
#include "shell/core/Latin1.h"

namespace shell {

namespace {
constexpr int kLongestWaitMs = 10000;
}

void MainLoop::Quit() {
    bool end = session_.RequestQuit() || dialogs_.Terminated();
    // Closing the window again while asked counts as a yes.
    if (dialogs_.TakeCloseRequest()) end = true;
    if (end) quit_ = true;
}

void MainLoop::Handle(const SDL_Event& e) {
    if (filter_ && filter_(e)) return;
    if (comforts_ != nullptr && comforts_->Handle(e)) {
        if (dialogs_.TakeCloseRequest()) Quit();
        if (dialogs_.Terminated()) quit_ = true;
        return;
    }
    switch (e.type) {
        case SDL_QUIT: quit_ = true; break;  // a signal or the session ending: no question
        case SDL_WINDOWEVENT:
            switch (e.window.event) {
                case SDL_WINDOWEVENT_CLOSE: Quit(); break;
                case SDL_WINDOWEVENT_EXPOSED:
                case SDL_WINDOWEVENT_SIZE_CHANGED:
                case SDL_WINDOWEVENT_RESTORED:
                    window_.Relayout();
                    window_.PresentAll(session_.Frame());
                    break;
                case SDL_WINDOWEVENT_LEAVE: session_.PointerLeft(); break;
                default: break;
            }
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (e.button.button == SDL_BUTTON_LEFT) {
                SDL_CaptureMouse(SDL_TRUE);  // moves and the release reach us outside the window
                const auto [x, y] = window_.ToStagePoint(e.button.x, e.button.y);
                session_.PointerDown(x, y);
            }
            break;
        case SDL_MOUSEBUTTONUP:
            if (e.button.button == SDL_BUTTON_LEFT) {
                SDL_CaptureMouse(SDL_FALSE);
                const auto [x, y] = window_.ToStagePoint(e.button.x, e.button.y);
                session_.PointerUp(x, y);
            }
            break;
        case SDL_MOUSEMOTION: {
            const auto [x, y] = window_.ToStagePoint(e.motion.x, e.motion.y);
            // A release the window never saw (taken by a dialog): end the press here.
            if (host_.Input().Pressed() && (e.motion.state & SDL_BUTTON_LMASK) == 0) {
                session_.PointerUp(x, y);
            } else {
                session_.PointerMove(x, y);
            }
            break;
        }
        case SDL_KEYDOWN:
            switch (e.key.keysym.sym) {
                case SDLK_F1: session_.HelpKey(); break;
                case SDLK_ESCAPE: session_.EscapeKey(); break;
                case SDLK_RETURN:
                case SDLK_KP_ENTER: session_.Typed('\r'); break;
                case SDLK_BACKSPACE: session_.Typed('\b'); break;
                case SDLK_TAB: session_.Typed('\t'); break;
                default: break;
            }
            break;
        case SDL_TEXTINPUT:
            for (char c : Utf8ToLatin1(e.text.text)) session_.Typed(static_cast<uint8_t>(c));
            break;
        default: break;
    }
    // The window was closed while the applet had a dialog open.
    if (dialogs_.TakeCloseRequest()) Quit();
    if (dialogs_.Terminated()) quit_ = true;
}

int MainLoop::Timeout(int64_t now) {
    int64_t wait = kLongestWaitMs;
    const int64_t due = host_.NextDue();
    if (due >= 0) wait = std::min(wait, due - host_.Clock().Now());
    if (session_.NeedsCompose()) wait = std::min(wait, lastPresent_ + kMinFrameMs - now);
    if (comforts_ != nullptr) {
        const int64_t wake = comforts_->NextWake();
        if (wake >= 0) wait = std::min(wait, wake);
    }
    return static_cast<int>(std::clamp<int64_t>(wait, 0, kLongestWaitMs));
}

// While a game runs its clock wakes the loop some fifty times a second, and every wait in SDL
// starts by reading the X connection over and over. On X11 the loop sleeps on the connection
// itself and lets SDL read it only when something arrived; elsewhere SDL waits as usual.
struct MainLoop::XConnection {
    Display* display = nullptr;
    int fd = -1;
    int (*eventsQueued)(Display*, int) = nullptr;
    int (*flush)(Display*) = nullptr;
};

bool MainLoop::WaitForEvent(SDL_Event* e, int ms) {
    if (!xProbed_ && window_.Handle() != nullptr) {
        xProbed_ = true;
        SDL_SysWMinfo info;
        SDL_VERSION(&info.version);
        // Xlib as SDL already loaded it: nothing new is loaded here.
        void* xlib = dlopen("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD);
        if (xlib != nullptr && SDL_GetWindowWMInfo(window_.Handle(), &info) == SDL_TRUE &&
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
    if (!x_ || ms <= 0) return SDL_WaitEventTimeout(e, ms) != 0;
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

bool MainLoop::RunFrame() {
    SDL_Event e;
    const bool woken = WaitForEvent(&e, Timeout(MonotonicMs()));
    // One applet time for the whole frame: what is due runs first, then the input, just as
    // a replay of the frame does it.
    host_.Clock().Latch();
    host_.Update();
    if (woken) {
        Handle(e);
        while (!quit_ && SDL_PollEvent(&e) != 0) Handle(e);
    }
    if (quit_) {
        host_.Clock().Unlatch();
        return false;
    }
    if (comforts_ != nullptr) comforts_->Frame();
    if (frameHook_) frameHook_();
    host_.Update();
    host_.Clock().Unlatch();
    const int64_t now = MonotonicMs();
    if (now - lastPresent_ >= kMinFrameMs && session_.NeedsCompose()) {
        DirtyRegion changed;
        session_.Compose(&changed);
        if (!firstPresented_) {
            window_.PresentAll(session_.Frame());
        } else {
            window_.Present(session_.Frame(), changed);
        }
        lastPresent_ = now;
        if (!firstPresented_) {
            firstPresented_ = true;
            if (firstFrame_) firstFrame_();
            // The sound system starts only now, so the window does not wait for it; sounds
            // the opening screen played are heard from here.
            host_.Sounds().OpenDevice();
        }
    }
    return !quit_;
}

void MainLoop::Run() {
    while (RunFrame()) {
    }
}

}  // namespace shell
