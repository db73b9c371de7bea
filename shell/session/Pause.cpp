// Pause and count-in.
#include "shell/session/Pause.h"

namespace shell {

Pause::~Pause() {
    if (state_ != State::Running) {
        host_.Clock().Resume();
        host_.Sounds().SetPaused(false);
    }
}

void Pause::Begin() {
    if (state_ == State::Running) {
        host_.Clock().Hold();
        host_.Sounds().SetPaused(true);
    }
    state_ = State::Paused;
    session_.ShowPanel({{"Paused", "Esc, Ctrl+P or a click to go on"}, true, true, {}});
}

void Pause::Continue() {
    if (state_ != State::Paused) return;
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

void Pause::End() {
    if (state_ == State::Running) return;
    state_ = State::Running;
    session_.HidePanel();
    host_.Sounds().SetPaused(false);
    host_.Clock().Resume();
}

void Pause::ShowCount() {
    session_.ShowPanel({{std::to_string(count_)}, true, true, {}});
}

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
