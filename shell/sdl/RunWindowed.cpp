// The windowed run: SDL's video and audio set up around one Run of the core.
#include "shell/sdl/RunWindowed.h"

#include <SDL.h>

#include <cstdio>
#include <memory>

#include "shell/bot/Autoplay.h"
#include "shell/core/FontCache.h"
#include "shell/posix/Paths.h"
#include "shell/posix/Screenshots.h"
#include "shell/posix/StartTime.h"
#include "shell/sdl/SdlAudio.h"
#include "shell/sdl/SdlFrontend.h"
#include "shell/sdl/Window.h"
#include "shell/session/Controls.h"
#include "shell/session/DrawnDialogs.h"
#include "shell/session/EventFeed.h"
#include "shell/session/Loop.h"
#include "shell/session/Run.h"

namespace shell {

namespace {

// Passes each question to the dialogs chosen at the time it is asked.
class ChoosingDialogs : public Dialogs {
public:
    explicit ChoosingDialogs(std::function<Dialogs*()> choose) : choose_(std::move(choose)) {}
    bool Message(const std::string& title, const std::string& text, bool ask) override {
        return choose_()->Message(title, text, ask);
    }
    bool Input(const std::string& title, const std::string& prompt, std::string* text,
               int limit) override {
        return choose_()->Input(title, prompt, text, limit);
    }

private:
    std::function<Dialogs*()> choose_;
};

int RunInWindow(const Options& options, const AppletEntry& applet) {
    // A replay runs the game on a clock it moves itself, in step with real time.
    VirtualTime replayTime;
    replayTime.now = MonotonicMs();
    RunSetup setup;
    if (!options.replay.empty()) setup.time = replayTime.AsSource();
    setup.sound = SoundBank::Mode::Device;
    setup.settingsPath = DefaultSettingsPath();
    setup.fontMemoryFile = FontCache::DefaultMemoryFile();
    setup.prefetchImages = true;
    int code = kExitOk;
    // Fonts and pictures load on other threads while the window opens.
    std::unique_ptr<Run> run = Run::Open(options, applet, setup, &code);
    if (!run) return code;
    Host& host = run->GetHost();
    Session& session = run->GetSession();
    StartupStep("host ready");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "spherolette: no display: %s\n", SDL_GetError());
        return kExitNoWindow;
    }
    StartupStep("video ready");
    std::string error;
    std::unique_ptr<Window> window =
        Window::Open(host::kStageWidth, host::kStageHeight, options.scale, &error);
    if (!window) {
        std::fprintf(stderr, "spherolette: %s\n", error.c_str());
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return kExitNoWindow;
    }
    StartupStep("window open");
    if (!run->FontsFound()) {
        window.reset();
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return kExitNoFont;
    }
    {
        SdlFrontend frontend(*window);
        SdlAudio audio(host.Sounds());
        if (const char* logo = FindString(applet.resources, host::kStringLogoPicture)) {
            frontend.SetIcon(*host.Images().Load(logo)->frames.front());
        }
        Viewport viewport(host::kStageWidth, host::kStageHeight);
        int w = 0, h = 0;
        frontend.DrawableSize(&w, &h);
        viewport.Fit(w, h);
        EventFeed feed(frontend);
        DrawnDialogs dialogs(feed, viewport, host.Fonts(), session.Frame());
        Controls controls(session, host, run->GetPrefs(), viewport, &frontend, MonotonicMs);
        controls.SetScreenshotSaver(SaveScreenshot);
        Loop loop(session, host, controls, dialogs, feed, viewport);

        // The game's questions: answered from the replay while it plays, or asked.
        std::unique_ptr<ReplayPlayer> player;
        std::unique_ptr<ReplayPacer> pacer;
        if (run->HasReplay()) {
            player = std::make_unique<ReplayPlayer>(run->GetReplay(), session, host,
                                                    [&](int64_t t) {
                                                        host.Clock().Unlatch();
                                                        replayTime.now += t - host.Clock().Now();
                                                    });
            pacer = std::make_unique<ReplayPacer>(*player, host, replayTime, controls.GetPause(),
                                                  MonotonicMs);
            controls.HoldInputWhile([&] { return pacer->Replaying(); });
            loop.AddClient(pacer.get());
        }
        ChoosingDialogs choosing([&]() -> Dialogs* {
            if (pacer && pacer->Replaying()) return &run->FromReplay();
            return &dialogs;
        });
        host.Frame().SetDialogs(&choosing);
        host.Frame().OnTitle([&](const std::string& title) { frontend.SetTitle(title); });

        session.Start();
        StartupStep("applet started");
        loop.OnFirstFrame([&] {
            ReportFirstFrame(options.reportFirstFrame);
            // The sound system starts only now, so the window does not wait for it; sounds
            // the opening screen played are heard from here.
            audio.Open();
        });
        std::unique_ptr<bot::WindowAutoplay> autoplay;
        if (options.autoplay) {
            autoplay = std::make_unique<bot::WindowAutoplay>(run->Used(), session, host, loop,
                                                             dialogs, feed, run->StoreForBot());
        }
        loop.Run();
        if (!options.screenshot.empty()) SavePicture(session.Picture(false), options.screenshot);
        const std::string fault = autoplay ? autoplay->Fault() : std::string();
        code = run->Finish(fault);
        autoplay.reset();
        host.Frame().OnTitle({});
        audio.Close();
    }
    run.reset();
    window.reset();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return code;
}

}  // namespace

int RunWindowed(const Options& options, const AppletEntry& applet) {
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // Closing the window asks first during a game; SDL_QUIT then only comes from signals.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    const int code = RunInWindow(options, applet);
    SDL_Quit();
    return code;
}

}  // namespace shell
