// The window's event loop. One call of RunFrame is one frame: wait for input, a timer tick or
// a frame change (never longer than needed, never spinning), turn SDL events into the
// session's input, run what is due, compose and present what changed, at most one present per
// kMinFrameMs.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "shell/app/Session.h"
#include "shell/app/Window.h"
#include "shell/app/WindowDialogs.h"

union SDL_Event;

namespace shell {

class Comforts;

class MainLoop {
public:
    static constexpr int kMinFrameMs = 16;

    MainLoop(Session& session, Host& host, Window& window, WindowDialogs& dialogs)
        : session_(session), host_(host), window_(window), dialogs_(dialogs) {}

    // One frame; false once the run should end.
    bool RunFrame();
    // Frames until the player quits.
    void Run();
    // Called once after the first frame has been presented.
    void OnFirstFrame(std::function<void()> hook) { firstFrame_ = std::move(hook); }
    // Ends the run after this frame (no question asked).
    void EndRun() { quit_ = true; }
    bool Ending() const { return quit_; }

    // Hooks for features built on the loop: every SDL event first goes here; returning true
    // consumes it. And a hook run once per frame after input, before timers.
    void SetEventFilter(std::function<bool(const SDL_Event&)> filter) { filter_ = std::move(filter); }
    void SetFrameHook(std::function<void()> hook) { frameHook_ = std::move(hook); }
    // The player's comforts see every event before the loop, and are run once a frame.
    void SetComforts(Comforts* comforts) { comforts_ = comforts; }

private:
    void Handle(const SDL_Event& e);
    void Quit();
    int Timeout(int64_t now);
    // Waits up to `ms` for an event; true with it in *e.
    bool WaitForEvent(SDL_Event* e, int ms);

    Session& session_;
    Host& host_;
    Window& window_;
    WindowDialogs& dialogs_;
    bool quit_ = false;
    bool firstPresented_ = false;
    struct XConnection;
    std::shared_ptr<XConnection> x_;  // the X display's connection, when SDL runs on X11
    bool xProbed_ = false;
    int64_t lastPresent_ = -1000;
    std::function<void()> firstFrame_;
    std::function<bool(const SDL_Event&)> filter_;
    std::function<void()> frameHook_;
    Comforts* comforts_ = nullptr;
};

}  // namespace shell
