// Drives a session without a window: a virtual clock that jumps straight to the next timer
// tick or frame change, scripted input, scripted dialog answers and PNG screenshots.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "shell/headless/Script.h"
#include "shell/session/Session.h"
#include "shell/core/AppletClock.h"
#include "shell/core/Dialogs.h"

namespace shell {

class HeadlessRunner {
public:
    HeadlessRunner(Session& session, Host& host, VirtualTime& time, ScriptedDialogs& dialogs)
        : session_(session), host_(host), time_(time), dialogs_(dialogs) {}

    // Runs the commands until the end or an accepted quit. False when a screenshot could not
    // be written (the run goes on).
    bool Run(const std::vector<ScriptCommand>& commands);
    // Moves the virtual clock `ms` ahead, running every tick and frame change on the way.
    void Wait(int64_t ms);
    bool Screenshot(const std::string& path, bool help);
    bool QuitAccepted() const { return quit_; }

private:
    void Settle();

    Session& session_;
    Host& host_;
    VirtualTime& time_;
    ScriptedDialogs& dialogs_;
    bool quit_ = false;
};

}  // namespace shell
