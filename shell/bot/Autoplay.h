// The bot as the program runs it (--autoplay): headless on the virtual clock until the games
// asked for are played, or in the window as a demo at a person's pace.
#pragma once

#include <memory>
#include <string>

#include "shell/app/HeadlessRunner.h"
#include "shell/app/MainLoop.h"
#include "shell/app/Options.h"
#include "shell/app/Session.h"
#include "shell/app/WindowDialogs.h"
#include "shell/bot/Bot.h"
#include "shell/core/Host.h"

namespace shell::bot {

// Where the bot checks the store after each game: a settings file (read back from disk) and
// the prefix of the game's keys in it; with no file, the site's store as the game sees it.
struct StoreToCheck {
    std::string path;
    std::string prefix;
};

// Plays until the bot is done and prints its figures on stdout. Returns the bot's fault,
// empty when every check passed.
std::string PlayHeadless(const Options& options, Session& session, Host& host,
                         HeadlessRunner& runner, const StoreToCheck& store);

// Puts the bot on a window's loop and answers the game's dialogs through their own keys.
// Undone when destroyed.
class WindowAutoplay {
public:
    WindowAutoplay(const Options& options, Session& session, Host& host, MainLoop& loop,
                   WindowDialogs& dialogs, const StoreToCheck& store);
    ~WindowAutoplay();
    WindowAutoplay(const WindowAutoplay&) = delete;
    WindowAutoplay& operator=(const WindowAutoplay&) = delete;

    const std::string& Fault() const { return bot_.Fault(); }
    std::string Summary() const { return bot_.Summary(); }

private:
    class Dialogs;
    void Frame();

    Host& host_;
    MainLoop& loop_;
    WindowDialogs* window_;
    Bot bot_;
    std::unique_ptr<Dialogs> dialogs_;
    int64_t nextAt_ = 0;
};

}  // namespace shell::bot
