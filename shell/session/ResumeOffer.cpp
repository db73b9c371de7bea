// Offering the kept game.
#include "shell/session/ResumeOffer.h"

#include "shell/core/Log.h"

namespace shell {

void ResumeOffer::Offer() {
    ResumeFile* kept = run_.Kept();
    if (kept == nullptr || !run_.GetSession().Started()) return;
    const AppletEntry& applet = run_.Applet();
    Replay record;
    std::string notice;
    switch (kept->Load(applet.String(host::kStringName), applet.String(host::kStringVersion),
                       &record, &notice)) {
        case ResumeFile::Found::Nothing: return;
        case ResumeFile::Found::SetAside:
            controls_.GetNotices().Show(notice, controls_.RealMs());
            return;
        case ResumeFile::Found::Game: break;
    }
    // The question is drawn over the title as it is now.
    run_.GetSession().Compose(nullptr);
    if (!run_.GetHost().Frame().Ask("Spherolette", "Resume your last game?")) {
        if (leaving_ && leaving_()) {
            run_.LeaveKeptGameAlone();
        } else {
            kept->Discard();
        }
        return;
    }
    if (!control_.Resume(record)) {
        controls_.GetNotices().Show("Your last game could not be resumed", controls_.RealMs());
        return;
    }
    controls_.GetPause().Begin();
}

}  // namespace shell
