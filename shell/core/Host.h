// Everything the shell serves the applet through, without a window: the object space and
// ledger, the two stages, factory, frame, settings, site, timers, animations, events, input
// routing and sounds. The window loop and the headless runner both drive one Host.
#pragma once

#include <cstdint>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <string>

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

namespace shell {

struct HostOptions {
    const host::ResourceDirectory* resources = nullptr;
    AppletClock::Source time;                       // milliseconds; empty: the monotonic clock
    SoundBank::Mode sound = SoundBank::Mode::Silent;
    std::optional<uint64_t> seed;                   // empty: seeded from the system
    host::SettingsStore* settings = nullptr;        // empty: kept in memory
    Dialogs* dialogs = nullptr;                     // empty: scripted (No / cancel)
    std::string fontMemoryFile;                     // see FontCache::DefaultMemoryFile
    bool prefetchImages = false;                    // decode every picture and read the fonts
                                                    // on other threads
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

private:
    const host::ResourceDirectory* resources_;
    FontCache fonts_;
    std::future<void> fontPreload_;      // waited for before the fonts go
    std::unique_ptr<SoundBank> sounds_;  // opened after the prefetching threads start
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
};

// Milliseconds of the monotonic clock.
int64_t MonotonicMs();

}  // namespace shell
