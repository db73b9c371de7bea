// Assembly of the host objects.
#include "shell/core/Host.h"

#include <chrono>
#include <random>

namespace shell {

int64_t MonotonicMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

namespace {
uint64_t SystemSeed() {
    std::random_device device;
    return (uint64_t{device()} << 32) ^ device() ^
           static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
}
}  // namespace

Host::Host(const HostOptions& options)
    : resources_(options.resources),
      fonts_(options.fonts ? options.fonts() : nullptr),
      images_(options.resources),
      clock_(options.time ? options.time : AppletClock::Source(MonotonicMs)),
      timers_(clock_),
      animator_(clock_),
      events_(clock_),
      space_(std::make_unique<ObjectSpace>()) {
    if (options.prepare) options.prepare(*this);
    sounds_ = std::make_unique<SoundBank>(options.resources, options.sound);
    ObjectSpace& space = *space_;
    mainStage_ = space.Make<HostStage>(fonts_, host::kStageWidth, host::kStageHeight, "main stage");
    helpStage_ = space.Make<HostStage>(fonts_, host::kStageWidth, host::kStageHeight, "help stage");
    frame_ = space.Make<HostFrame>(clock_, options.dialogs != nullptr ? options.dialogs
                                                                      : &scriptedDialogs_);
    factory_ = space.Make<HostFactory>(FactoryParts{fonts_, images_, animator_, timers_, events_,
                                                    *sounds_});
    settings_ = space.Make<HostSettings>(options.settings != nullptr ? options.settings
                                                                     : &memorySettings_);
    site_ = space.Make<HostSite>(options.seed ? *options.seed : SystemSeed());
    site_->stage = mainStage_;
    site_->helpStage = helpStage_;
    site_->factory = factory_;
    site_->frame = frame_;
    site_->settings = settings_;
    input_ = std::make_unique<InputRouter>(*mainStage_, events_);
}

Host::~Host() {
    for (const auto& wait : teardown_) wait();
    input_.reset();
    space_.reset();
    sounds_.reset();
}

void Host::Update() {
    const int64_t now = clock_.Now();
    if (busy_ && !clock_.Held()) {
        const int64_t due = NextDue();
        if (due >= 0 && due <= now) busy_(now);
    }
    timers_.RunDue(now);
    animator_.Advance(clock_.Now());
}

int64_t Host::NextDue() const {
    const int64_t t = timers_.NextDue();
    const int64_t a = animator_.NextChange();
    if (t < 0) return a;
    if (a < 0) return t;
    return std::min(t, a);
}

void Host::KeyTyped(uint8_t character) {
    events_.Dispatch(frame_, host::kEventKeyTyped, character, 0);
}

void Host::RequestHelp() { events_.Dispatch(frame_, host::kEventHelpRequested, 0, 0); }

}  // namespace shell
