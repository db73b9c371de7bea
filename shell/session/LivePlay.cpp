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

LivePlay::LivePlay(Run& run, Frontend& frontend, VirtualTime* replayTime)
    : run_(run),
      frontend_(frontend),
      viewport_(host::kStageWidth, host::kStageHeight),
      feed_(frontend),
      dialogs_(feed_, viewport_, run.GetHost().Fonts(), run.GetSession().Frame()) {
    Host& host = run_.GetHost();
    Session& session = run_.GetSession();
    int w = 0, h = 0;
    frontend_.DrawableSize(&w, &h);
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
    if (run_.Used().autoplay) {
        autoplay_ = std::make_unique<bot::WindowAutoplay>(run_.Used(), run_.GetSession(),
                                                          run_.GetHost(), *loop_, dialogs_, feed_,
                                                          run_.StoreForBot());
    }
}

std::string LivePlay::RunToEnd() {
    loop_->Run();
    return autoplay_ ? autoplay_->Fault() : std::string();
}

}  // namespace shell
