// Merging made-up records with the front end's.
#include "shell/session/EventFeed.h"

#include <algorithm>

namespace shell {

bool EventFeed::Wait(ShellEvent* event, int ms) {
    for (;;) {
        if (injected_.empty()) return frontend_.WaitEvent(event, ms);
        const int64_t now = frontend_.RealMs();
        const int64_t due = injected_.front().first;
        if (due <= now) {
            *event = injected_.front().second;
            injected_.pop_front();
            return true;
        }
        // Wait for the front end no longer than until the made-up record is due.
        const int64_t until = due - now;
        const int wait = ms < 0 ? static_cast<int>(until)
                                : static_cast<int>(std::min<int64_t>(ms, until));
        if (frontend_.WaitEvent(event, wait)) return true;
        if (ms >= 0 && frontend_.RealMs() < due) return false;
        // Waiting as long as it takes, or the record is due now: look again.
    }
}

}  // namespace shell
