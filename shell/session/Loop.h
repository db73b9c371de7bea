// The loop of a front end with a real clock. One call of RunFrame is one frame: wait for input, a
// timer tick, a frame change or a client's wake-up (never longer than needed, never spinning),
// hand the input to the input layer, run what is due, then compose and present what changed, at
// most one present per kMinFrameMs.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "shell/core/Host.h"
#include "shell/session/Controls.h"
#include "shell/session/DrawnDialogs.h"
#include "shell/session/EventFeed.h"
#include "shell/session/FrameClient.h"
#include "shell/session/Session.h"
#include "shell/session/Viewport.h"

namespace shell {

class Loop {
public:
    static constexpr int kMinFrameMs = 16;
    // How much later than its frame a waiting change may be shown when a timer is due then.
    static constexpr int kRideMs = 20;

    Loop(Session& session, Host& host, Controls& controls, DrawnDialogs& dialogs, EventFeed& feed,
         Viewport& viewport);

    // One frame; false once the run should end.
    bool RunFrame();
    // Frames until the player quits.
    void Run();
    // Called once after the first frame has been presented (in the order they were added).
    void OnFirstFrame(std::function<void()> hook) { firstFrame_.push_back(std::move(hook)); }
    // Ends the run after this frame (no question asked).
    void EndRun() { quit_ = true; }
    // The player asks to quit (Ctrl+Q, the menu): as closing the window does.
    void RequestQuit() { Quit(); }
    bool Ending() const { return quit_; }
    // Run once a frame after the input layer (the replay's pacing, the player bot).
    void AddClient(FrameClient* client) { clients_.push_back(client); }
    void RemoveClient(FrameClient* client);

private:
    void Handle(const ShellEvent& e);
    void Quit();
    // Acts on what a dialog left behind: a close to ask about, or an end already decided.
    void Settle();
    int Timeout(int64_t now);
    void PresentAll();

    Session& session_;
    Host& host_;
    Controls& controls_;
    DrawnDialogs& dialogs_;
    EventFeed& feed_;
    Frontend& frontend_;
    Viewport& viewport_;
    std::vector<FrameClient*> clients_;
    bool quit_ = false;
    bool firstPresented_ = false;
    int64_t lastPresent_ = -1000;
    std::vector<std::function<void()>> firstFrame_;
};

}  // namespace shell
