// Running the bot headless and in the window.
#include "shell/bot/Autoplay.h"

#include <SDL.h>

#include <cstdio>
#include <ctime>
#include <fstream>
#include <random>
#include <vector>

#include "shell/bot/StoreCheck.h"
#include "shell/core/Log.h"

namespace shell::bot {

namespace {

uint64_t BotSeed(const Options& options) {
    if (options.seed) return *options.seed ^ 0x9E3779B97F4A7C15ULL;
    std::random_device device;
    return (uint64_t{device()} << 32) | device();
}

BotOptions MakeOptions(const Options& options, Host& host, const StoreToCheck& store,
                       bool paced) {
    BotOptions bot;
    bot.difficulty = options.autoplayDifficulty;
    bot.games = options.autoplayGames;
    bot.seed = BotSeed(options);
    bot.paced = paced;
    bot.playToEnd = paced;  // the demo in the window shows whole games
    host::SettingsStore* settings = host.Site()->settings;
    auto asTheGameSeesIt = [settings] {
        if (settings == nullptr) return std::string();
        return CheckScoreTable([settings](const std::string& key) -> std::optional<std::string> {
            char value[256] = {};
            if (settings->ReadString(key.c_str(), value) == host::kSettingsKeyAbsent) {
                return std::nullopt;
            }
            return std::string(value);
        });
    };
    bot.checkStore = [store, asTheGameSeesIt] {
        // A file that could not be written (no data directory, no rights) is not there to
        // read: the game plays on with the values in memory, and those are checked.
        if (store.path.empty() || !std::ifstream(store.path)) return asTheGameSeesIt();
        return CheckSettingsFile(store.path, store.prefix);
    };
    return bot;
}

// Headless: the bot answers at once.
class HeadlessDialogs : public shell::Dialogs {
public:
    explicit HeadlessDialogs(Bot& bot) : bot_(bot) {}
    bool Message(const std::string& title, const std::string& text, bool ask) override {
        return bot_.Answer(title, text, ask);
    }
    bool Input(const std::string& title, const std::string& prompt, std::string* text,
               int limit) override {
        std::optional<std::string> name = bot_.Input(title, prompt, limit);
        if (!name) return false;
        if (limit >= 0 && name->size() > static_cast<size_t>(limit)) name->resize(limit);
        *text = *name;
        return true;
    }

private:
    Bot& bot_;
};

std::string Latin1ToUtf8(unsigned char c) {
    if (c < 0x80) return std::string(1, static_cast<char>(c));
    return {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
}

}  // namespace

std::string PlayHeadless(const Options& options, Session& session, Host& host,
                         HeadlessRunner& runner, const StoreToCheck& store) {
    Bot bot(session, host, MakeOptions(options, host, store, /*paced=*/false));
    HeadlessDialogs dialogs(bot);
    shell::Dialogs* before = host.Frame().GetDialogs();
    host.Frame().SetDialogs(&dialogs);
    const std::clock_t start = std::clock();
    for (int wait = bot.Step(); wait >= 0; wait = bot.Step()) runner.Wait(wait);
    const double cpu = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
    host.Frame().SetDialogs(before);
    std::printf("autoplay: %s; %.2f s of CPU\n", bot.Summary().c_str(), cpu);
    std::fflush(stdout);
    return bot.Fault();
}

// ---- In the window ------------------------------------------------------------------------

// The bot answers a dialog the way a person would, through the box's own keys: after a short
// look, the initial of Yes or No, or the name typed over the proposal and Enter. The keys are
// sent as events from a timer, so the box is shown and takes them in its own loop.
class WindowAutoplay::Dialogs : public shell::Dialogs {
public:
    Dialogs(Bot& bot, WindowDialogs& window) : bot_(bot), window_(window) {}

    bool Message(const std::string& title, const std::string& text, bool ask) override {
        std::vector<SDL_Event> keys;
        if (!ask) {
            keys.push_back(Key(SDLK_RETURN));
        } else {
            keys.push_back(Text(bot_.Answer(title, text, ask) ? "y" : "n"));
        }
        Send(std::move(keys));
        return window_.Message(title, text, ask);
    }

    bool Input(const std::string& title, const std::string& prompt, std::string* text,
               int limit) override {
        std::vector<SDL_Event> keys;
        const std::optional<std::string> name = bot_.Input(title, prompt, limit);
        if (!name) {
            keys.push_back(Key(SDLK_ESCAPE));
        } else {
            for (size_t i = 0; i < text->size(); ++i) keys.push_back(Key(SDLK_BACKSPACE));
            for (char c : *name) keys.push_back(Text(Latin1ToUtf8(static_cast<unsigned char>(c))));
            keys.push_back(Key(SDLK_RETURN));
        }
        Send(std::move(keys));
        return window_.Input(title, prompt, text, limit);
    }

private:
    static SDL_Event Key(SDL_Keycode key) {
        SDL_Event e{};
        e.type = SDL_KEYDOWN;
        e.key.state = SDL_PRESSED;
        e.key.keysym.sym = key;
        return e;
    }
    static SDL_Event Text(const std::string& utf8) {
        SDL_Event e{};
        e.type = SDL_TEXTINPUT;
        SDL_strlcpy(e.text.text, utf8.c_str(), sizeof e.text.text);
        return e;
    }
    static Uint32 Deliver(Uint32, void* param) {
        auto* keys = static_cast<std::vector<SDL_Event>*>(param);
        for (SDL_Event& e : *keys) SDL_PushEvent(&e);
        delete keys;
        return 0;
    }
    static void Send(std::vector<SDL_Event> keys) {
        auto* owned = new std::vector<SDL_Event>(std::move(keys));
        if (SDL_AddTimer(900, Deliver, owned) == 0) Deliver(0, owned);
    }

    Bot& bot_;
    WindowDialogs& window_;
};

namespace {
// Wakes the loop when the bot's next step is due.
Uint32 Wake(Uint32, void*) {
    SDL_Event e{};
    e.type = SDL_USEREVENT;
    SDL_PushEvent(&e);
    return 0;
}
}  // namespace

WindowAutoplay::WindowAutoplay(const Options& options, Session& session, Host& host,
                               MainLoop& loop, WindowDialogs& dialogs, const StoreToCheck& store)
    : host_(host), loop_(loop), window_(&dialogs),
      bot_(session, host, MakeOptions(options, host, store, true)),
      dialogs_(std::make_unique<Dialogs>(bot_, dialogs)) {
    host_.Frame().SetDialogs(dialogs_.get());
    nextAt_ = MonotonicMs() + 1000;  // let the title screen be seen first
    SDL_AddTimer(1000, Wake, nullptr);
    loop_.SetFrameHook([this] { Frame(); });
}

WindowAutoplay::~WindowAutoplay() {
    loop_.SetFrameHook({});
    host_.Frame().SetDialogs(window_);
    std::printf("autoplay: %s\n", bot_.Summary().c_str());
    std::fflush(stdout);
}

void WindowAutoplay::Frame() {
    const int64_t now = MonotonicMs();
    if (loop_.Ending() || now < nextAt_ || bot_.Done()) return;
    const int wait = bot_.Step();
    if (wait < 0) {
        loop_.EndRun();
        return;
    }
    nextAt_ = MonotonicMs() + wait;
    SDL_AddTimer(static_cast<Uint32>(std::max(wait, 1)), Wake, nullptr);
}

}  // namespace shell::bot
