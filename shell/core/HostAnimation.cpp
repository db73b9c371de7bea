// Animation timing: frame i shows for the picture's delay of frame i; a list that does not
// loop stops on its last frame.
#include "shell/core/HostAnimation.h"

#include <algorithm>

#include "shell/core/HostSprite.h"
#include "shell/core/Trace.h"

namespace shell {

HostAnimation::HostAnimation(ObjectSpace& space, Animator& animator, HostFrameList* frames,
                             int frame)
    : HostObject(space, "Animation", frames != nullptr ? frames->PictureName() : std::string()),
      animator_(animator),
      frames_(frames) {
    if (frames_ != nullptr) {
        frames_->Retain();
        frame_ = std::clamp(frame, 0, std::max(0, frames_->Count() - 1));
    }
}

void HostAnimation::OnDisposed() {
    animator_.Remove(this);
    running_ = false;
    if (frames_ != nullptr) frames_->Drop();
    frames_ = nullptr;
    owner_ = nullptr;
}

void HostAnimation::Start() {
    if (frames_ == nullptr || Disposed()) return;
    running_ = true;
    next_ = animator_.Now() + frames_->DelayMs(frame_);
    animator_.Add(this);
}

void HostAnimation::Advance(int64_t now) {
    if (!running_ || frames_ == nullptr) return;
    const int count = frames_->Count();
    if (count <= 1) {  // nothing to show but the one frame
        running_ = false;
        return;
    }
    if (frames_->Looping() && now - next_ > 0) {
        int64_t cycle = 0;
        for (int i = 0; i < count; ++i) cycle += frames_->DelayMs(i);
        if (cycle > 0 && now - next_ > cycle) next_ += (now - next_) / cycle * cycle;
    }
    while (running_ && now >= next_) {
        if (frame_ + 1 < count) {
            ++frame_;
        } else if (frames_->Looping()) {
            frame_ = 0;
        } else {
            running_ = false;  // stays on its last frame
            break;
        }
        next_ += frames_->DelayMs(frame_);
    }
}

void HostAnimation::Show(int index) {
    if (frames_ == nullptr) return;
    frame_ = std::clamp(index, 0, std::max(0, frames_->Count() - 1));
    if (running_) next_ = animator_.Now() + frames_->DelayMs(frame_);
}

void HostAnimation::SetFrame(int32_t index) {
    TraceCall(this, "SetFrame", index);
    Show(index);
}

void HostAnimation::GetFrames(host::FrameList** frames) {
    TraceCall(this, "GetFrames");
    if (frames == nullptr) return;
    if (frames_ == nullptr) {
        Log("%s used after its last release", Name().c_str());
        *frames = nullptr;
        return;
    }
    frames_->HandOut();
    *frames = frames_;
}

void Animator::Add(HostAnimation* animation) {
    if (std::find(running_.begin(), running_.end(), animation) == running_.end()) {
        running_.push_back(animation);
    }
}

void Animator::Remove(HostAnimation* animation) {
    running_.erase(std::remove(running_.begin(), running_.end(), animation), running_.end());
}

void Animator::Advance(int64_t now) {
    for (HostAnimation* a : running_) a->Advance(now);
    running_.erase(std::remove_if(running_.begin(), running_.end(),
                                  [](HostAnimation* a) { return !a->Running(); }),
                   running_.end());
}

int64_t Animator::NextChange() const {
    int64_t best = -1;
    for (const HostAnimation* a : running_) {
        const HostSprite* s = a->Owner();
        if (!a->Running() || s == nullptr || s->GetStage() == nullptr) continue;
        if (best < 0 || a->NextChange() < best) best = a->NextChange();
    }
    return best;
}

}  // namespace shell
