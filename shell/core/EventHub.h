// Subscriptions and the delivery of applet callbacks. A subscription or timer released from
// inside a callback ends at once: later deliveries check it is still live. While the applet
// clock is held (a modal dialog is open) no callback runs.
#pragma once

#include <cstdint>
#include <vector>

#include "host/Services.h"
#include "shell/core/AppletClock.h"
#include "shell/core/ObjectBase.h"

namespace shell {

class HostSubscription : public HostObject<host::Subscription> {
public:
    HostSubscription(ObjectSpace& space, const ObjectBase* source, int32_t code, void* context,
                     host::Callback callback);
    const ObjectBase* Source() const { return source_; }
    int32_t Code() const { return code_; }
    bool Live() const { return !Disposed(); }
    void Deliver(int32_t value, int32_t y) const;

private:
    const ObjectBase* source_;
    int32_t code_;
    void* context_;
    host::Callback callback_;
};

class EventHub {
public:
    explicit EventHub(const AppletClock& clock) : clock_(clock) {}
    void Add(HostSubscription* subscription);
    // Calls every live subscriber of (source, code) in subscription order; returns how many.
    int Dispatch(const ObjectBase* source, int32_t code, int32_t value, int32_t y);
    bool HasSubscriber(const ObjectBase* source, int32_t code) const;
    bool Held() const { return clock_.Held(); }

private:
    const AppletClock& clock_;
    std::vector<HostSubscription*> subscriptions_;
};

// Runs a callback with the trace line for it.
void RunCallback(host::Callback callback, void* context, int32_t value, int32_t y,
                 const char* what);

}  // namespace shell
