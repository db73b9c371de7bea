// A run played live through a front end with a real clock: the viewport, the input layer, the
// drawn dialogs, the loop, a replay's pacing and the demo bot, put together the same way for
// every such front end (the window, the web page).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "shell/bot/Autoplay.h"
#include "shell/session/Controls.h"
#include "shell/session/DrawnDialogs.h"
#include "shell/session/EventFeed.h"
#include "shell/session/Frontend.h"
#include "shell/session/Loop.h"
#include "shell/session/Replay.h"
#include "shell/session/Run.h"
#include "shell/session/Viewport.h"

namespace shell {

class LivePlay {
public:
    // `replayTime` is the virtual clock the run's host was given when it plays a replay back
    // (null otherwise).
    LivePlay(Run& run, Frontend& frontend, VirtualTime* replayTime);
    ~LivePlay();
    LivePlay(const LivePlay&) = delete;
    LivePlay& operator=(const LivePlay&) = delete;

    Loop& GetLoop() { return *loop_; }
    Controls& GetControls() { return *controls_; }
    Viewport& GetViewport() { return viewport_; }
    EventFeed& Feed() { return feed_; }

    // Starts the applet (and the demo bot, with --autoplay).
    void Start();
    // Frames until the player quits; the bot's fault, empty when its checks passed.
    std::string RunToEnd();

private:
    class ChoosingDialogs;

    Run& run_;
    Frontend& frontend_;
    Viewport viewport_;
    EventFeed feed_;
    DrawnDialogs dialogs_;
    std::unique_ptr<Controls> controls_;
    std::unique_ptr<Loop> loop_;
    std::unique_ptr<ReplayPlayer> player_;
    std::unique_ptr<ReplayPacer> pacer_;
    std::unique_ptr<ChoosingDialogs> choosing_;
    std::unique_ptr<bot::WindowAutoplay> autoplay_;
};

}  // namespace shell
