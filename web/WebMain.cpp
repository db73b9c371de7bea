// The web page's program: the game linked in, one live run set up with Run::Open and played
// with LivePlay as the window does, on the page's canvas, records, clock, storage and sound.
#include <emscripten.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "host/Applet.h"
#include "shell/core/SteerableTime.h"
#include "shell/fonts/MemoryFonts.h"
#include "shell/session/FrameClient.h"
#include "shell/session/LivePlay.h"
#include "shell/session/Options.h"
#include "shell/session/Replay.h"
#include "shell/session/Run.h"
#include "shell/session/Viewport.h"
#include "web/LocalStorage.h"
#include "web/WebFrontend.h"
#include "web/WebImports.h"
#include "web/WebSound.h"

namespace {

// The face every text of the game asks for, and the files the page fetched for it (index.html
// lists them: the regular one, then the bold one).
constexpr const char* kFace = "Arial";

std::unique_ptr<shell::fonts::FontSource> PageFonts() {
    auto fonts = std::make_unique<shell::fonts::MemoryFonts>();
    const int count = web_font_count();
    for (int i = 0; i < count && i < 2; ++i) {
        const int size = web_font_size(i);
        if (size <= 0) continue;
        std::vector<uint8_t> bytes(static_cast<size_t>(size));
        web_font_copy(i, bytes.data());
        fonts->Add(kFace, i == 1, false, std::move(bytes));
    }
    return fonts;
}

// Options a page has no use for: files, a terminal, another library.
std::string RefusedOption(const shell::Options& options) {
    if (options.help || options.version) return "--help and --version";
    if (options.headless) return "--headless";
    if (!options.library.empty()) return "--library";
    if (!options.settings.empty()) return "--settings";
    if (!options.script.empty()) return "--script";
    if (!options.screenshot.empty()) return "--screenshot";
    if (!options.record.empty()) return "--record";
    return {};
}

// Where the page keeps the player's settings and a game left by closing the tab.
constexpr const char* kSettingsKey = "spherolette:settings.txt";
constexpr const char* kKeptGameKey = "spherolette:settings.resume";

// Tells the player, once, that the browser keeps nothing (full or refused storage): shown
// from the loop between frames, never inside a call of the game's, which may be what wrote.
class StorageNotice : public shell::FrameClient {
public:
    explicit StorageNotice(shell::Host& host) : host_(host) {}
    void Failed(const std::string& why) {
        if (!told_ && why_.empty()) why_ = why;
    }
    void Frame() override {
        if (told_ || why_.empty()) return;
        told_ = true;
        host_.Frame().Tell("Spherolette", "Scores and options cannot be kept in this browser (" +
                                              why_ + "). They are kept until the page closes.");
    }
    int64_t NextWake() const override { return !told_ && !why_.empty() ? 0 : -1; }

private:
    shell::Host& host_;
    std::string why_;
    bool told_ = false;
};

// A recorded game played through at once, as the headless shell plays it, and its last frame
// shown: where the same game ends in this host (the browser tests compare it with the native
// shell's picture). The run ends there.
int ShowReplay(shell::Run& run, shell::VirtualTime& time, shell::WebFrontend& frontend) {
    using namespace shell;
    Host& host = run.GetHost();
    Session& session = run.GetSession();
    session.Start();
    ReplayPlayer player(run.GetReplay(), session, host,
                        [&](int64_t t) { time.now += t - host.Clock().Now(); });
    player.PlayAll();
    Viewport viewport(host::kStageWidth, host::kStageHeight);
    int w = 0, h = 0;
    frontend.DrawableSize(&w, &h);
    viewport.Fit(w, h);
    frontend.Present(session.Picture(false), DirtyRegion(), viewport, true);
    return run.Finish({});
}

}  // namespace

int main(int argc, char** argv) {
    using namespace shell;
    Options options;
    std::string error;
    if (!ParseOptions(argc, argv, &options, &error)) {
        web_message(("Spherolette: " + error).c_str());
        web_finished(kExitUsage);
        return kExitUsage;
    }
    if (const std::string refused = RefusedOption(options); !refused.empty()) {
        web_message(("Spherolette: " + refused + " cannot be used in a web page").c_str());
        web_finished(kExitUsage);
        return kExitUsage;
    }
    const AppletEntry applet{Shell_StartApplet, Shell_StopApplet, &Shell_ResourceDirectory};

    // A replay runs on a clock it moves itself; live play on real time that a kept game's
    // playback can steer.
    VirtualTime replayTime;
    SteerableTime liveTime;
    RunSetup setup;
    setup.time = options.replay.empty() ? liveTime.AsSource() : replayTime.AsSource();
    setup.sound = options.replay.empty() ? SoundBank::Mode::Device : SoundBank::Mode::Silent;
    setup.fonts = [] { return PageFonts(); };
    // Storage failures arrive before the loop runs (the title writes its table at once).
    std::string storageFailure;
    StorageNotice* notice = nullptr;
    const auto failed = [&storageFailure, &notice](const std::string& why) {
        if (notice != nullptr) notice->Failed(why);
        if (storageFailure.empty()) storageFailure = why;
    };
    setup.settingsStorage = [failed] { return std::make_unique<LocalStorage>(kSettingsKey, failed); };
    setup.keptGameStorage = [failed] { return std::make_unique<LocalStorage>(kKeptGameKey, failed); };
    setup.keepGames = options.replay.empty();
    int code = kExitOk;
    std::unique_ptr<Run> run = Run::Open(options, applet, setup, &code);
    if (!run) {
        web_finished(code);
        return code;
    }
    if (!run->FontsFound()) {
        web_message("Spherolette: the page's fonts could not be loaded.");
        web_finished(kExitNoFont);
        return kExitNoFont;
    }
    WebFrontend frontend;
    if (run->HasReplay()) {
        code = ShowReplay(*run, replayTime, frontend);
    } else {
        LivePlay play(*run, frontend, nullptr, &liveTime);
        StorageNotice storageNotice(run->GetHost());
        play.GetLoop().AddClient(&storageNotice);
        notice = &storageNotice;
        if (!storageFailure.empty()) storageNotice.Failed(storageFailure);
        UseWebSound(&run->GetHost().Sounds());
        play.Start();
        const std::string fault = play.RunToEnd();
        UseWebSound(nullptr);
        notice = nullptr;
        play.GetLoop().RemoveClient(&storageNotice);
        code = run->Finish(fault);
        // Quit from the menu or with Ctrl+Q: a page cannot close itself, so it says how to go on
        // (a game in progress was kept, and the next start offers it).
        if (web_ending() == 0) web_message("Spherolette has ended. Reload the page to play again.");
    }
    run.reset();
    web_finished(code);
    return code;
}
