// Callback delivery.
#include "shell/core/EventHub.h"

#include <algorithm>

#include "shell/core/Trace.h"

namespace shell {

void RunCallback(host::Callback callback, void* context, int32_t value, int32_t y,
                 const char* what) {
    if (callback == nullptr) return;
    if (TraceEnabled()) {
        TraceLine(std::string("-> ") + what + "(value " + std::to_string(value) + ", y " +
                  std::to_string(y) + ")");
    }
    const host::Event event{context, 0, value, y};
    callback(&event);
}

HostSubscription::HostSubscription(ObjectSpace& space, const ObjectBase* source, int32_t code,
                                   void* context, host::Callback callback)
    : HostObject(space, "Subscription", "event " + std::to_string(code)),
      source_(source),
      code_(code),
      context_(context),
      callback_(callback) {}

void HostSubscription::Deliver(int32_t value, int32_t y) const {
    const std::string what = "event " + std::to_string(code_) + " of " +
                             (source_ != nullptr ? source_->Name() : "?");
    RunCallback(callback_, context_, value, y, what.c_str());
}

void EventHub::Add(HostSubscription* subscription) {
    // Forget subscriptions released since the last one was added.
    subscriptions_.erase(std::remove_if(subscriptions_.begin(), subscriptions_.end(),
                                        [](HostSubscription* s) { return !s->Live(); }),
                         subscriptions_.end());
    subscriptions_.push_back(subscription);
}

int EventHub::Dispatch(const ObjectBase* source, int32_t code, int32_t value, int32_t y) {
    if (Held() || source == nullptr) return 0;
    std::vector<HostSubscription*> targets;
    for (HostSubscription* s : subscriptions_) {
        if (s->Live() && s->Source() == source && s->Code() == code) targets.push_back(s);
    }
    int delivered = 0;
    for (HostSubscription* s : targets) {
        // An earlier callback may have released this one (a screen switch).
        if (!s->Live() || Held()) continue;
        s->Deliver(value, y);
        ++delivered;
    }
    return delivered;
}

bool EventHub::HasSubscriber(const ObjectBase* source, int32_t code) const {
    return std::any_of(subscriptions_.begin(), subscriptions_.end(), [&](HostSubscription* s) {
        return s->Live() && s->Source() == source && s->Code() == code;
    });
}

}  // namespace shell
