// Running the bot headless and in the window.
#include "shell/bot/Autoplay.h"

#include <cstdio>
#include <ctime>
#include <fstream>
#include <random>
#include <vector>

#include "shell/bot/StoreCheck.h"
#include "shell/core/Log.h"
#include "shell/session/ShellEvent.h"

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
                         const std::function<void(int64_t ms)>& wait, const StoreToCheck& store) {
    Bot bot(session, host, MakeOptions(options, host, store, /*paced=*/false));
    HeadlessDialogs dialogs(bot);
    shell::Dialogs* before = host.Frame().GetDialogs();
    host.Frame().SetDialogs(&dialogs);
    const std::clock_t start = std::clock();
    for (int ms = bot.Step(); ms >= 0; ms = bot.Step()) wait(ms);
    const double cpu = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
    host.Frame().SetDialogs(before);
    std::printf("autoplay: %s; %.2f s of CPU\n", bot.Summary().c_str(), cpu);
    std::fflush(stdout);
    return bot.Fault();
}

// ---- In the window ------------------------------------------------------------------------

// The bot answers a dialog the way a person would, through the box's own keys: after a short
// look, the initial of Yes or No, or the name typed over the proposal and Enter. The keys are
// queued for the box's own loop, which shows the box and then takes them.
class WindowAutoplay::Dialogs : public shell::Dialogs {
public:
    static constexpr int kLookMs = 900;
    Dialogs(Bot& bot, DrawnDialogs& window, EventFeed& feed)
        : bot_(bot), window_(window), feed_(feed) {}

    bool Message(const std::string& title, const std::string& text, bool ask) override {
        if (!ask) {
            Send(ShellEvent::KeyDown(KeyCode::Enter));
        } else {
            Send(ShellEvent::Typed(bot_.Answer(title, text, ask) ? "y" : "n"));
        }
        return window_.Message(title, text, ask);
    }

    bool Input(const std::string& title, const std::string& prompt, std::string* text,
               int limit) override {
        const std::optional<std::string> name = bot_.Input(title, prompt, limit);
        if (!name) {
            Send(ShellEvent::KeyDown(KeyCode::Escape));
        } else {
            for (size_t i = 0; i < text->size(); ++i) Send(ShellEvent::KeyDown(KeyCode::Backspace));
            for (char c : *name) Send(ShellEvent::Typed(Latin1ToUtf8(static_cast<unsigned char>(c))));
            Send(ShellEvent::KeyDown(KeyCode::Enter));
        }
        return window_.Input(title, prompt, text, limit);
    }

private:
    void Send(const ShellEvent& e) { feed_.Inject(e, feed_.GetFrontend().RealMs() + kLookMs); }

    Bot& bot_;
    DrawnDialogs& window_;
    EventFeed& feed_;
};

WindowAutoplay::WindowAutoplay(const Options& options, Session& session, Host& host, Loop& loop,
                               DrawnDialogs& dialogs, EventFeed& feed, const StoreToCheck& store)
    : host_(host), loop_(loop), window_(&dialogs), feed_(feed),
      bot_(session, host, MakeOptions(options, host, store, true)),
      dialogs_(std::make_unique<Dialogs>(bot_, dialogs, feed)) {
    host_.Frame().SetDialogs(dialogs_.get());
    nextAt_ = feed_.GetFrontend().RealMs() + 1000;  // let the title screen be seen first
    loop_.AddClient(this);
}

WindowAutoplay::~WindowAutoplay() {
    loop_.RemoveClient(this);
    host_.Frame().SetDialogs(window_);
    std::printf("autoplay: %s\n", bot_.Summary().c_str());
    std::fflush(stdout);
}

void WindowAutoplay::Frame() {
    const int64_t now = feed_.GetFrontend().RealMs();
    if (loop_.Ending() || now < nextAt_ || bot_.Done()) return;
    const int wait = bot_.Step();
    if (wait < 0) {
        loop_.EndRun();
        return;
    }
    nextAt_ = feed_.GetFrontend().RealMs() + wait;
}

int64_t WindowAutoplay::NextWake() const {
    if (bot_.Done()) return -1;
    return std::max<int64_t>(0, nextAt_ - feed_.GetFrontend().RealMs());
}

}  // namespace shell::bot
