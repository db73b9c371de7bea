// Timer scheduling.
#include "shell/core/TimerQueue.h"

#include <algorithm>

#include "shell/core/EventHub.h"
#include "shell/core/Trace.h"

namespace shell {

HostTimer::HostTimer(ObjectSpace& space, TimerQueue& queue, void* context, int32_t ms,
                     host::Callback callback)
    : HostObject(space, "Timer", std::to_string(ms) + " ms"),
      queue_(queue),
      context_(context),
      period_(ms > 0 ? ms : 1),
      callback_(callback) {}

void HostTimer::Start() {
    TraceCall(this, "Start");
    if (Disposed()) return;
    running_ = true;
    start_ = queue_.Now();
    tick_ = 1;
    next_ = start_ + period_;
    queue_.Add(this);
}

void HostTimer::OnDisposed() {
    running_ = false;
    queue_.Remove(this);
}

void TimerQueue::Add(HostTimer* timer) {
    if (std::find(timers_.begin(), timers_.end(), timer) == timers_.end()) {
        timers_.push_back(timer);
    }
}

void TimerQueue::Remove(HostTimer* timer) {
    timers_.erase(std::remove(timers_.begin(), timers_.end(), timer), timers_.end());
}

int TimerQueue::RunDue(int64_t appletNow) {
    const int64_t now = appletNow / divisor_;
    int fired = 0;
    // Bounded: a callback that keeps restarting timers cannot hold the loop for ever.
    for (int guard = 0; guard < 100000 && !clock_.Held(); ++guard) {
        HostTimer* due = nullptr;
        for (HostTimer* t : timers_) {
            if (t->Running() && t->next_ <= now && (due == nullptr || t->next_ < due->next_)) {
                due = t;
            }
        }
        if (due == nullptr) break;
        if (now - due->next_ >= int64_t{kMaxPeriodsBehind} * due->period_) {
            due->tick_ = (now - due->start_) / due->period_;  // the latest tick due
        }
        ++due->tick_;
        due->next_ = due->start_ + due->tick_ * due->period_;
        const int64_t elapsed = now - due->start_;
        ++fired;
        RunCallback(due->callback_, due->context_, static_cast<int32_t>(elapsed), 0,
                    ("tick of " + due->Name()).c_str());
    }
    return fired;
}

int64_t TimerQueue::NextDue() const {
    int64_t best = -1;
    for (const HostTimer* t : timers_) {
        if (t->Running() && (best < 0 || t->next_ < best)) best = t->next_;
    }
    // The first applet millisecond at which timer time reaches the tick.
    return best < 0 ? best : best * divisor_;
}

}  // namespace shell
