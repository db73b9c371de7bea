// Pause and count-in.
#include "shell/session/Pause.h"

#include "host/GameLook.h"

namespace shell {

Pause::~Pause() {
    if (state_ != State::Running) {
        host_.Clock().Resume();
        host_.Sounds().SetPaused(false);
    }
}

void Pause::Hold() {
    if (state_ != State::Running) return;
    host_.Clock().Hold();
    host_.Sounds().SetPaused(true);
}

void Pause::ShowPanel(const std::vector<std::string>& lines) {
    using namespace host::look;
    ShellPanel panel{lines, true, true, {}, {}};
    panel.hide = {
        {kBoardFrameLeft, kBoardFrameTop, kBoardFrameRight - kBoardFrameLeft,
         kBoardFrameBottom - kBoardFrameTop},
        {kNextPhaseLeft, kNextPhaseTop, kNextPhaseRight - kNextPhaseLeft,
         kNextPhaseBottom - kNextPhaseTop},
    };
    session_.ShowPanel(panel);
}

void Pause::Begin() {
    Hold();
    state_ = State::Paused;
    ShowPanel({"Paused", "Esc, Ctrl+P or a click to go on"});
}

void Pause::BeginHelp() {
    Hold();
    state_ = State::Help;
}

void Pause::Continue() {
    if (state_ != State::Paused && state_ != State::Help) return;
    state_ = State::CountingIn;
    count_ = kCountFrom;
    stepAt_ = realMs_() + kCountStepMs;
    ShowCount();
}

void Pause::Toggle() {
    if (state_ == State::Paused) {
        Continue();
    } else {
        Begin();
    }
}

void Pause::ShowCount() { ShowPanel({std::to_string(count_)}); }

void Pause::Frame() {
    if (state_ != State::CountingIn) return;
    const int64_t now = realMs_();
    while (state_ == State::CountingIn && now >= stepAt_) {
        if (--count_ > 0) {
            stepAt_ += kCountStepMs;
            ShowCount();
            continue;
        }
        state_ = State::Running;
        session_.HidePanel();
        host_.Sounds().SetPaused(false);
        host_.Clock().Resume();
    }
}

}  // namespace shell
