// Periodic timers run from the main loop. The k-th tick of a timer is due at start + k x
// period, so late ticks never push the later ones back; a timer more than a few periods
// behind skips the missed ticks and fires once.
#pragma once

#include <cstdint>
#include <vector>

#include "host/Services.h"
#include "shell/core/AppletClock.h"
#include "shell/core/ObjectBase.h"

namespace shell {

class TimerQueue;

class HostTimer : public HostObject<host::Timer> {
public:
    HostTimer(ObjectSpace& space, TimerQueue& queue, void* context, int32_t ms,
              host::Callback callback);
    void Start() override;

    bool Running() const { return running_ && !Disposed(); }
    int64_t Next() const { return next_; }
    int32_t Period() const { return period_; }

protected:
    void OnDisposed() override;

private:
    friend class TimerQueue;
    TimerQueue& queue_;
    void* context_;
    int32_t period_;
    host::Callback callback_;
    bool running_ = false;
    int64_t start_ = 0;
    int64_t tick_ = 0;  // index of the next tick
    int64_t next_ = 0;
};

class TimerQueue {
public:
    // Ticks more than this many periods late are skipped.
    static constexpr int kMaxPeriodsBehind = 3;

    explicit TimerQueue(const AppletClock& clock) : clock_(clock) {}
    // Timer time, which runs `divisor` times slower than the applet clock (1: the same).
    int64_t Now() const { return clock_.Now() / divisor_; }
    void SetSlowdown(int divisor) { divisor_ = divisor > 0 ? divisor : 1; }
    int Slowdown() const { return divisor_; }
    void Add(HostTimer* timer);
    void Remove(HostTimer* timer);
    // Fires every tick due by `appletNow` (applet clock), earliest first; returns how many.
    int RunDue(int64_t appletNow);
    // The applet time of the earliest tick due; -1 when no timer runs.
    int64_t NextDue() const;

private:
    const AppletClock& clock_;
    std::vector<HostTimer*> timers_;
    int divisor_ = 1;
};

}  // namespace shell
