// Restarting the applet and resuming kept games.
#include "shell/session/RunControl.h"

#include <algorithm>
#include <cstdlib>

#include "host/GameLook.h"
#include "shell/core/Log.h"

namespace shell {

RunControl::RunControl(Run& run, Steering steering)
    : run_(run), steering_(std::move(steering)) {}

bool RunControl::RelaxedPending() const {
    return run_.GetPrefs().Values().relaxed != run_.Used().relaxed.value_or(false);
}

void RunControl::Frame() {
    Host& host = run_.GetHost();
    const bool active = run_.GetSession().Started() && host.Frame().GameActive();
    const uint64_t clicks = host.Input().Clicks();
    // A game that starts with a click on the title screen was started at that button's level;
    // a game played again keeps the level it started at.
    if (active && !wasActive_ && clicks != clicksSeen_) {
        const int id = host.Input().LastClickId();
        if (id >= 0 && id < host::look::kDifficulties) difficulty_ = id;
    }
    clicksSeen_ = clicks;
    const bool ended = wasActive_ && !active;
    wasActive_ = active;
    // A replay or the bot's demo plays on as it is.
    if (ended && RelaxedPending() && !run_.HasReplay() && !run_.Used().autoplay) {
        Restart(std::nullopt);
    }
}

void RunControl::StopForFreshStart(const Replay& header) {
    Session& session = run_.GetSession();
    Host& host = run_.GetHost();
    session.HideHelp();
    session.Stop();
    host.Input().Reset();
    run_.UseRelaxed(header.relaxed);
    host.SiteObject().Reseed(header.seed);
    if (ReplayRecorder* recorder = run_.Recorder()) recorder->Restarted(header);
    wasActive_ = false;
}

void RunControl::Restart(std::optional<int> difficulty) {
    if (ResumeFile* kept = run_.Kept()) kept->Discard();
    run_.UseRelaxed(run_.GetPrefs().Values().relaxed);
    StopForFreshStart(run_.Header(run_.NextSeed()));
    run_.GetSession().Start();
    if (difficulty && !ClickButton(*difficulty)) {
        Log("the title screen shows no button %d to start a game with", *difficulty);
    }
    Frame();
}

// Presses and releases on an opaque pixel of the button, nearest its middle, as a person
// would: the session takes (and the record keeps) the click like any other.
bool RunControl::ClickButton(int id) {
    Host& host = run_.GetHost();
    HostStage& stage = host.MainStage();
    for (HostSprite* sprite : stage.Sprites()) {
        if (!sprite->IsButton() || sprite->ClickTarget().id != id) continue;
        const Rect b = sprite->Bounds();
        for (int radius = 0; radius < std::max(b.w, b.h); ++radius) {
            for (int dy = -radius; dy <= radius; ++dy) {
                for (int dx = -radius; dx <= radius; ++dx) {
                    if (std::max(std::abs(dx), std::abs(dy)) != radius) continue;
                    const int x = b.x + b.w / 2 + dx, y = b.y + b.h / 2 + dy;
                    if (stage.SpriteAt(x, y) != sprite) continue;
                    run_.GetSession().PointerDown(x, y);
                    run_.GetSession().PointerUp(x, y);
                    return true;
                }
            }
        }
    }
    return false;
}

bool RunControl::Resume(const Replay& record) {
    Host& host = run_.GetHost();
    Session& session = run_.GetSession();
    // The record's stored values at its start, in a copy: what the game wrote while it was
    // played is in the file already, and must not be written twice.
    MemorySettings then;
    for (const auto& [key, value] : record.settings) then.values[key] = value;
    ReplayDialogs answers(record.answers);
    Dialogs* live = host.Frame().GetDialogs();
    const bool muted = host.Sounds().Muted();
    const bool traced = TraceEnabled();

    Replay header = record;
    header.steps.clear();
    header.answers.clear();
    header.symbols = run_.GetPrefs().Values().symbols;
    steering_.setTime(host.Clock().Now());
    StopForFreshStart(header);
    host.Settings().SetStore(&then);
    host.Frame().SetDialogs(&answers);
    host.Sounds().SetMuted(true);
    SetTraceEnabled(false);
    session.Start();

    ReplayPlayer player(record, session, host, steering_.setTime);
    player.PlayAll();

    SetTraceEnabled(traced);
    host.Sounds().SetMuted(muted);
    host.Frame().SetDialogs(live);
    host.Settings().SetStore(run_.GameStore());
    steering_.release();
    Frame();
    if (host.Frame().GameActive()) return true;
    Log("the kept game did not lead back into a game; starting afresh");
    Restart(std::nullopt);
    return false;
}

}  // namespace shell
