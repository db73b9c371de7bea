// The records the loop and the dialogs read: the front end's, and records the shell makes up
// itself (the player bot's keys in a dialog), each held back until its time.
#pragma once

#include <cstdint>
#include <deque>
#include <utility>

#include "shell/session/Frontend.h"
#include "shell/session/ShellEvent.h"

namespace shell {

class EventFeed {
public:
    explicit EventFeed(Frontend& frontend) : frontend_(frontend) {}

    // `event` arrives once the real clock reaches `at`, after every record queued before it.
    void Inject(const ShellEvent& event, int64_t at) { injected_.emplace_back(at, event); }
    // Waits at most `ms` (negative: as long as it takes) for the next record.
    bool Wait(ShellEvent* event, int ms);
    Frontend& GetFrontend() { return frontend_; }

private:
    Frontend& frontend_;
    std::deque<std::pair<int64_t, ShellEvent>> injected_;
};

}  // namespace shell
