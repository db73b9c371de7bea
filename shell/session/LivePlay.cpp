// Putting a live run together.
#include "shell/session/LivePlay.h"

namespace shell {

// The game's questions: answered from the replay while it plays, or asked.
class LivePlay::ChoosingDialogs : public Dialogs {
public:
    ChoosingDialogs(Dialogs& live, Dialogs& replay, const ReplayPacer* pacer)
        : live_(live), replay_(replay), pacer_(pacer) {}
    bool Message(const std::string& title, const std::string& text, bool ask) override {
        return Now().Message(title, text, ask);
    }
    bool Input(const std::string& title, const std::string& prompt, std::string* text,
               int limit) override {
        return Now().Input(title, prompt, text, limit);
    }

private:
    Dialogs& Now() { return pacer_ != nullptr && pacer_->Replaying() ? replay_ : live_; }

    Dialogs& live_;
    Dialogs& replay_;
    const ReplayPacer* pacer_;
};

LivePlay::LivePlay(Run& run, Frontend& frontend, VirtualTime* replayTime, SteerableTime* liveTime)
    : run_(run),
      frontend_(frontend),
      viewport_(host::kStageWidth, host::kStageHeight),
      feed_(frontend),
      dialogs_(feed_, viewport_, run.GetHost().Fonts(), run.GetSession().Frame()) {
    Host& host = run_.GetHost();
    Session& session = run_.GetSession();
    int w = 0, h = 0;
    frontend_.DrawableSize(&w, &h);
    viewport_.SetPixelPerfect(run_.GetPrefs().Values().pixelPerfect);
    viewport_.Fit(w, h);
    const auto realMs = [this] { return frontend_.RealMs(); };
    controls_ = std::make_unique<Controls>(session, host, run_.GetPrefs(), viewport_, &frontend_,
                                           realMs);
    loop_ = std::make_unique<Loop>(session, host, *controls_, dialogs_, feed_, viewport_);
    if (run_.HasReplay() && replayTime != nullptr) {
        player_ = std::make_unique<ReplayPlayer>(run_.GetReplay(), session, host,
                                                 [&host, replayTime](int64_t t) {
                                                     host.Clock().Unlatch();
                                                     replayTime->now += t - host.Clock().Now();
                                                 });
        pacer_ = std::make_unique<ReplayPacer>(*player_, host, *replayTime, controls_->GetPause(),
                                               realMs);
        controls_->HoldInputWhile([this] { return pacer_->Replaying(); });
        loop_->AddClient(pacer_.get());
    }
    // Starting afresh steers the clock the host runs on.
    RunControl::Steering steering{[](int64_t) {}, [] {}};
    if (liveTime != nullptr) {
        steering.setTime = [&host, liveTime](int64_t t) {
            host.Clock().Unlatch();
            liveTime->HoldAt(liveTime->Now() + t - host.Clock().Now());
        };
        steering.release = [liveTime] { liveTime->Release(); };
    } else if (replayTime != nullptr) {
        steering.setTime = [&host, replayTime](int64_t t) {
            host.Clock().Unlatch();
            replayTime->now += t - host.Clock().Now();
        };
    }
    control_ = std::make_unique<RunControl>(run_, steering);
    loop_->AddClient(control_.get());
    if (!run_.Used().autoplay) {
        menu_ = std::make_unique<MenuController>(run_, *controls_, *control_, *loop_, feed_,
                                                 viewport_);
        controls_->SetMenu([this] { menu_->Open(); });
        session.AddOverlay(&menuButton_);
    }
    controls_->SetQuit([this] { loop_->RequestQuit(); });
    relaxedLabels_ = std::make_unique<RelaxedLabels>(
        host, [this] { return run_.Used().relaxed.value_or(false); });
    session.AddOverlay(relaxedLabels_.get());
    if (run_.Kept() != nullptr && (liveTime != nullptr || replayTime != nullptr)) {
        session.SetQuitKeepsGame(true);
        offer_ = std::make_unique<ResumeOffer>(run_, *control_, *controls_, [this] {
            return dialogs_.QuitDecided() || dialogs_.CloseRequested();
        });
    }
    choosing_ = std::make_unique<ChoosingDialogs>(dialogs_, run_.FromReplay(), pacer_.get());
    host.Frame().SetDialogs(choosing_.get());
    host.Frame().OnTitle([this](const std::string& title) { frontend_.SetTitle(title); });
    host.Frame().OnBeforeDialog([this] {
        controls_->Assist().PutBack();
        run_.GetSession().Compose(nullptr);
    });
}

LivePlay::~LivePlay() {
    autoplay_.reset();
    if (demoLabel_) run_.GetSession().RemoveOverlay(demoLabel_.get());
    run_.GetSession().RemoveOverlay(&menuButton_);
    run_.GetSession().RemoveOverlay(relaxedLabels_.get());
    run_.GetSession().SetQuitKeepsGame(false);
    run_.GetHost().Frame().OnTitle({});
    run_.GetHost().Frame().OnBeforeDialog({});
    run_.GetHost().Frame().SetDialogs(nullptr);
}

void LivePlay::Start() {
    run_.GetSession().Start();
    // A settings file that could not be read is worth a word, once, when the player can see it.
    loop_->OnFirstFrame([this] {
        const std::string problem = run_.SettingsProblem();
        if (!problem.empty()) run_.GetHost().Frame().Tell("Spherolette", problem);
    });
    if (offer_) offer_->Offer();
    if (run_.Used().autoplay) {
        autoplay_ = std::make_unique<bot::WindowAutoplay>(run_.Used(), run_.GetSession(),
                                                          run_.GetHost(), *loop_, dialogs_, feed_,
                                                          run_.StoreForBot());
        // A demo says so, and the player's first click or key ends it at the title screen.
        demoLabel_ = std::make_unique<DemoLabel>(run_.GetHost());
        run_.GetSession().AddOverlay(demoLabel_.get());
        controls_->OnPlayerTakesOver([this] {
            fault_ = autoplay_->Fault();
            autoplay_.reset();
            demoLabel_->Hide();
            control_->Restart(std::nullopt);
        });
    }
}

std::string LivePlay::RunToEnd() {
    loop_->Run();
    return autoplay_ ? autoplay_->Fault() : fault_;
}

}  // namespace shell
