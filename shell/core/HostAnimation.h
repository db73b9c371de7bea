// A current frame over a frame list, and its playing state. Frames change only when the
// shell advances the animator, from its one thread.
#pragma once

#include <cstdint>
#include <vector>

#include "host/Drawing.h"
#include "shell/core/AppletClock.h"
#include "shell/core/HostFrameList.h"
#include "shell/core/ObjectBase.h"

namespace shell {

class Animator;
class HostSprite;

class HostAnimation : public HostObject<host::Animation> {
public:
    HostAnimation(ObjectSpace& space, Animator& animator, HostFrameList* frames, int frame);

    HostFrameList* Frames() const { return frames_; }
    int CurrentFrame() const { return frame_; }
    HostCanvas* Current() { return frames_ != nullptr ? frames_->Frame(frame_) : nullptr; }
    bool Running() const { return running_; }
    int64_t NextChange() const { return next_; }
    // The sprite showing this animation, if any (an animation belongs to one sprite).
    HostSprite* Owner() const { return owner_; }
    void SetOwner(HostSprite* sprite) { owner_ = sprite; }

    // Plays from the current frame with the picture's delays.
    void Start();
    // Moves through every frame change due by `now`; a loop far behind skips whole cycles.
    void Advance(int64_t now);
    // Shows a frame without the trace (a button's highlight).
    void Show(int index);

    void SetFrame(int32_t index) override;
    void GetFrames(host::FrameList** frames) override;

protected:
    void OnDisposed() override;

private:
    Animator& animator_;
    HostFrameList* frames_;  // our own reference
    int frame_ = 0;
    bool running_ = false;
    int64_t next_ = 0;
    HostSprite* owner_ = nullptr;
};

// Every started animation; the loop asks it for the next frame change to wake for.
class Animator {
public:
    explicit Animator(const AppletClock& clock) : clock_(clock) {}
    int64_t Now() const { return clock_.Now(); }
    void Add(HostAnimation* animation);
    void Remove(HostAnimation* animation);
    void Advance(int64_t now);
    // The earliest change of an animation shown on a stage; -1 when none will change.
    int64_t NextChange() const;

private:
    const AppletClock& clock_;
    std::vector<HostAnimation*> running_;
};

}  // namespace shell
