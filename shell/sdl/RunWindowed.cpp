// The windowed run: SDL's video and audio set up around one live run of the core.
#include "shell/sdl/RunWindowed.h"

#include <SDL.h>

#include <cstdio>
#include <memory>

#include "shell/core/SteerableTime.h"
#include "shell/fonts/SystemFonts.h"
#include "shell/settings/FileStorage.h"
#include "shell/media/Png.h"
#include "shell/posix/Paths.h"
#include "shell/posix/Prefetch.h"
#include "shell/posix/Screenshots.h"
#include "shell/posix/StartTime.h"
#include "shell/sdl/SdlAudio.h"
#include "shell/sdl/SdlFrontend.h"
#include "shell/sdl/Window.h"
#include "shell/session/LivePlay.h"
#include "shell/session/Run.h"

extern const unsigned char kWindowIconPng[];
extern const unsigned long kWindowIconPng_size;

namespace shell {

namespace {

// The square application icon, as the desktop shows it.
Pixmap WindowIcon() {
    int width = 0, height = 0;
    std::vector<uint8_t> rgba;
    if (!media::DecodePng(kWindowIconPng, kWindowIconPng_size, &width, &height, &rgba, nullptr)) {
        return {};
    }
    return Pixmap::FromRgba(width, height, rgba.data());
}

int RunInWindow(const Options& options, const AppletEntry& applet) {
    // A replay runs the game on a clock it moves itself, in step with real time.
    VirtualTime replayTime;
    replayTime.now = MonotonicMs();
    // Otherwise on real time that a kept game's playback can steer.
    SteerableTime liveTime;
    RunSetup setup;
    setup.time = options.replay.empty() ? liveTime.AsSource() : replayTime.AsSource();
    setup.keepGames = true;
    setup.sound = SoundBank::Mode::Device;
    setup.settingsPath = DefaultSettingsPath();
    setup.fonts = fonts::SystemFonts::Source(fonts::SystemFonts::DefaultMemoryFile());
    setup.openFile = FileStorage::Open;
    setup.prepare = PrefetchOnThreads;
    int code = kExitOk;
    // Fonts and pictures load on other threads while the window opens.
    std::unique_ptr<Run> run = Run::Open(options, applet, setup, &code);
    if (!run) return code;
    Host& host = run->GetHost();
    StartupStep("host ready");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "spherolette: no display: %s\n", SDL_GetError());
        return kExitNoWindow;
    }
    StartupStep("video ready");
    std::string error;
    WindowChoice choice;
    choice.scale = options.scale;
    choice.pixelPerfect = run->GetPrefs().Values().pixelPerfect;
    choice.remembered = run->GetPrefs().Values().window;
    std::unique_ptr<Window> window =
        Window::Open(host::kStageWidth, host::kStageHeight, choice, &error);
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
        frontend.SetIcon(WindowIcon());
        LivePlay play(*run, frontend, &replayTime, &liveTime);
        play.GetControls().SetScreenshotSaver(SaveScreenshot);
        play.GetLoop().OnFirstFrame([&] {
            ReportFirstFrame(options.reportFirstFrame);
            // The sound system starts only now, so the window does not wait for it; sounds
            // the opening screen played are heard from here.
            audio.Open();
        });
        play.Start();
        StartupStep("applet started");
        const std::string fault = play.RunToEnd();
        run->GetPrefs().SetWindow(window->Place());
        if (!options.screenshot.empty()) {
            SavePicture(run->GetSession().Picture(false), options.screenshot);
        }
        code = run->Finish(fault);
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
