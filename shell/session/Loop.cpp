// The loop.
#include "shell/session/Loop.h"

#include <algorithm>

namespace shell {

namespace {
constexpr int kLongestWaitMs = 10000;
}

Loop::Loop(Session& session, Host& host, Controls& controls, DrawnDialogs& dialogs,
           EventFeed& feed, Viewport& viewport)
    : session_(session),
      host_(host),
      controls_(controls),
      dialogs_(dialogs),
      feed_(feed),
      frontend_(feed.GetFrontend()),
      viewport_(viewport) {
    clients_.push_back(&controls_);
}

void Loop::RemoveClient(FrameClient* client) {
    clients_.erase(std::remove(clients_.begin(), clients_.end(), client), clients_.end());
}

void Loop::Quit() {
    bool end = dialogs_.QuitDecided() || session_.RequestQuit() || dialogs_.QuitDecided();
    // Closing the window again while asked counts as a yes.
    if (dialogs_.TakeCloseRequest()) end = true;
    if (end) quit_ = true;
}

void Loop::PresentAll() {
    int w = 0, h = 0;
    frontend_.DrawableSize(&w, &h);
    viewport_.Fit(w, h);
    frontend_.Present(session_.Frame(), DirtyRegion(), viewport_, true);
}

void Loop::Handle(const ShellEvent& e) {
    using Type = ShellEvent::Type;
    switch (e.type) {
        case Type::Terminate: quit_ = true; break;  // a signal or the session ending: no question
        case Type::Close: Quit(); break;
        case Type::Exposed:
        case Type::Resized:
            // Before the first frame there is nothing to show yet: the first present draws all.
            if (firstPresented_) {
                PresentAll();
            } else {
                int w = 0, h = 0;
                frontend_.DrawableSize(&w, &h);
                viewport_.Fit(w, h);
            }
            break;
        default: controls_.Handle(e); break;
    }
    Settle();
}

void Loop::Settle() {
    // The window was closed while the applet had a dialog open.
    if (dialogs_.TakeCloseRequest()) Quit();
    if (dialogs_.QuitDecided()) quit_ = true;
}

int Loop::Timeout(int64_t now) {
    int64_t wait = kLongestWaitMs;
    const int64_t appletNow = host_.Clock().Now();
    // The applet's timers are run when they are due.
    const int64_t timer = host_.Timers().NextDue();
    if (timer >= 0) wait = std::min(wait, timer - appletNow);
    // What only changes the picture (an animation's next frame, a change waiting for its
    // frame) rides on a timer due soon after rather than waking the program once more: the
    // clock's ticks and the pictures' animations come at unrelated moments, and a wake of its
    // own for each would nearly double the wakes. An animation is brought to the frame of the
    // moment whenever the shell runs, so a frame shown a little late is the right one.
    const auto show = [&](int64_t in) {
        if (timer < 0 || timer - appletNow > in + kRideMs) wait = std::min(wait, in);
    };
    const int64_t frame = host_.Animations().NextChange();
    if (frame >= 0) show(frame - appletNow);
    if (session_.NeedsCompose()) show(lastPresent_ + kMinFrameMs - now);
    for (const FrameClient* client : clients_) {
        const int64_t wake = client->NextWake();
        if (wake >= 0) wait = std::min(wait, wake);
    }
    return static_cast<int>(std::clamp<int64_t>(wait, 0, kLongestWaitMs));
}

bool Loop::RunFrame() {
    // A dialog opened outside the loop's own handling (as the run starts, or from the game's
    // timers) may have been closed, or the program told to end, while it was open.
    Settle();
    if (quit_) return false;
    ShellEvent e;
    const bool woken = feed_.Wait(&e, Timeout(frontend_.RealMs()));
    // One applet time for the whole frame: what is due runs first, then the input, just as
    // a replay of the frame does it.
    host_.Clock().Latch();
    host_.Update();
    if (woken) {
        Handle(e);
        while (!quit_ && feed_.Wait(&e, 0)) Handle(e);
    }
    if (quit_) {
        host_.Clock().Unlatch();
        return false;
    }
    for (size_t i = 0; i < clients_.size(); ++i) clients_[i]->Frame();
    host_.Update();
    host_.Clock().Unlatch();
    Settle();
    const int64_t now = frontend_.RealMs();
    if (now - lastPresent_ >= kMinFrameMs && session_.NeedsCompose()) {
        DirtyRegion changed;
        session_.Compose(&changed);
        if (!firstPresented_) {
            PresentAll();
        } else {
            frontend_.Present(session_.Frame(), changed, viewport_, false);
        }
        lastPresent_ = now;
        if (!firstPresented_) {
            firstPresented_ = true;
            for (const auto& hook : firstFrame_) hook();
        }
    }
    return !quit_;
}

void Loop::Run() {
    while (RunFrame()) {
    }
}

}  // namespace shell
