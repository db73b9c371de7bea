// Everything the shell serves the applet through, without a window: the object space and
// ledger, the two stages, factory, frame, settings, site, timers, animations, events, input
// routing and sounds. The window loop and the headless runner both drive one Host.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/Resources.h"
#include "host/Services.h"
#include "shell/core/AppletClock.h"
#include "shell/core/Dialogs.h"
#include "shell/core/EventHub.h"
#include "shell/core/FontCache.h"
#include "shell/core/HostAnimation.h"
#include "shell/core/HostFactory.h"
#include "shell/core/HostFrame.h"
#include "shell/core/HostSite.h"
#include "shell/core/HostStage.h"
#include "shell/core/ImageLibrary.h"
#include "shell/core/InputRouter.h"
#include "shell/core/SoundBank.h"
#include "shell/core/TimerQueue.h"
#include "shell/fonts/FontSource.h"

namespace shell {

class Host;

struct HostOptions {
    const host::ResourceDirectory* resources = nullptr;
    AppletClock::Source time;                       // milliseconds; empty: the monotonic clock
    SoundBank::Mode sound = SoundBank::Mode::Silent;
    std::optional<uint64_t> seed;                   // empty: seeded from the system
    host::SettingsStore* settings = nullptr;        // empty: kept in memory
    Dialogs* dialogs = nullptr;                     // empty: scripted (No / cancel)
    // Where text's fonts come from: the desktop's files, or font files the host holds. Empty:
    // there are none, and no text is drawn.
    std::function<std::unique_ptr<fonts::FontSource>()> fonts;
    // Runs as soon as the fonts and pictures can be read, before the sounds are decoded and
    // the stages made: a front end starts reading them on other threads here (Prefetch).
    std::function<void(Host&)> prepare;
};

class Host {
public:
    explicit Host(const HostOptions& options);
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    host::AppletSite* Site() { return site_; }
    HostSite& SiteObject() { return *site_; }
    HostSettings& Settings() { return *settings_; }
    HostStage& MainStage() { return *mainStage_; }
    HostStage& HelpStage() { return *helpStage_; }
    HostFrame& Frame() { return *frame_; }
    HostFactory& Factory() { return *factory_; }
    AppletClock& Clock() { return clock_; }
    TimerQueue& Timers() { return timers_; }
    Animator& Animations() { return animator_; }
    EventHub& Events() { return events_; }
    InputRouter& Input() { return *input_; }
    FontCache& Fonts() { return fonts_; }
    SoundBank& Sounds() { return *sounds_; }
    ImageLibrary& Images() { return images_; }
    ObjectSpace& Space() { return *space_; }
    Ledger& GetLedger() { return space_->GetLedger(); }
    const host::ResourceDirectory* Resources() const { return resources_; }

    // Runs every timer tick and frame change due by now on the applet clock.
    void Update();
    // Told the applet time of every Update that runs something (a recording keeps these).
    void OnBusyUpdate(std::function<void(int64_t now)> observer) { busy_ = std::move(observer); }
    // Applet time of the next timer tick or visible frame change; -1 when nothing is due.
    int64_t NextDue() const;
    // Event 11 with a Latin-1 character, and event 16, from the frame.
    void KeyTyped(uint8_t character);
    void RequestHelp();

    // Work a front end started on the host's fonts or pictures (reading them on another
    // thread, say) is waited for by `wait`, which runs before any of them goes.
    void WaitBeforeTeardown(std::function<void()> wait) { teardown_.push_back(std::move(wait)); }

private:
    const host::ResourceDirectory* resources_;
    FontCache fonts_;
    std::unique_ptr<SoundBank> sounds_;
    ImageLibrary images_;
    AppletClock clock_;
    TimerQueue timers_;
    Animator animator_;
    EventHub events_;
    MemorySettings memorySettings_;
    ScriptedDialogs scriptedDialogs_;
    std::unique_ptr<ObjectSpace> space_;  // destroyed first: objects may hold sounds and fonts
    HostStage* mainStage_ = nullptr;
    HostStage* helpStage_ = nullptr;
    HostFrame* frame_ = nullptr;
    HostFactory* factory_ = nullptr;
    HostSettings* settings_ = nullptr;
    HostSite* site_ = nullptr;
    std::unique_ptr<InputRouter> input_;
    std::function<void(int64_t)> busy_;
    std::vector<std::function<void()>> teardown_;
};

// Milliseconds of the monotonic clock.
int64_t MonotonicMs();

}  // namespace shell
