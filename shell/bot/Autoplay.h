// The bot as the program runs it (--autoplay): headless on the virtual clock until the games
// asked for are played, or in the window as a demo at a person's pace.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "shell/bot/Bot.h"
#include "shell/bot/StoreCheck.h"
#include "shell/core/Host.h"
#include "shell/session/DrawnDialogs.h"
#include "shell/session/EventFeed.h"
#include "shell/session/FrameClient.h"
#include "shell/session/Loop.h"
#include "shell/session/Options.h"
#include "shell/session/Session.h"

namespace shell::bot {

// Plays until the bot is done, letting `wait` move the virtual clock on between its steps,
// and prints its figures on stdout. Returns the bot's fault,
// empty when every check passed.
std::string PlayHeadless(const Options& options, Session& session, Host& host,
                         const std::function<void(int64_t ms)>& wait, const StoreToCheck& store);

// Puts the bot on a window's loop and answers the game's dialogs through their own keys.
// Undone when destroyed.
class WindowAutoplay : public FrameClient {
public:
    WindowAutoplay(const Options& options, Session& session, Host& host, Loop& loop,
                   DrawnDialogs& dialogs, EventFeed& feed, const StoreToCheck& store);
    ~WindowAutoplay();
    WindowAutoplay(const WindowAutoplay&) = delete;
    WindowAutoplay& operator=(const WindowAutoplay&) = delete;

    const std::string& Fault() const { return bot_.Fault(); }
    std::string Summary() const { return bot_.Summary(); }

    void Frame() override;
    int64_t NextWake() const override;

private:
    class Dialogs;

    Host& host_;
    Loop& loop_;
    DrawnDialogs* window_;
    EventFeed& feed_;
    Bot bot_;
    std::unique_ptr<Dialogs> dialogs_;
    int64_t nextAt_ = 0;
};

}  // namespace shell::bot
