// How well the player bot plays: one game per seed at each difficulty, each played to its end
// (a wave finds the board full), and the median, lowest and highest score per difficulty,
// printed as a Markdown table. It runs the game exactly as `spherolette --headless --autoplay
// --seed N` does (same library, virtual clock, the bot's seed made from the game's), with the
// bot told to play to the end; the final score is read back from the top-five table, which
// starts out with five rows every score enters.
//
//   spherolette-bot-scores [--library FILE] [--seeds FIRST-LAST] [--difficulty D] [--games]
//
// --games also prints every game's score and moves.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "GameLibrary.h"
#include "shell/posix/AppletLibrary.h"
#include "shell/headless/HeadlessRunner.h"
#include "shell/session/Session.h"
#include "shell/bot/Bot.h"
#include "shell/core/Host.h"
#include "shell/fonts/SystemFonts.h"

namespace {

const char* const kDifficultyNames[5] = {"Very Easy", "Easy", "Medium", "Hard", "Very Hard"};

// The dialogs of a headless run, answered by the bot (as --autoplay does).
class BotDialogs : public shell::Dialogs {
public:
    void Attach(shell::bot::Bot* bot) { bot_ = bot; }
    bool Message(const std::string& title, const std::string& text, bool ask) override {
        return bot_->Answer(title, text, ask);
    }
    bool Input(const std::string& title, const std::string& prompt, std::string* text,
               int limit) override {
        std::optional<std::string> name = bot_->Input(title, prompt, limit);
        if (!name) return false;
        if (limit >= 0 && name->size() > static_cast<size_t>(limit)) name->resize(limit);
        *text = *name;
        return true;
    }

private:
    shell::bot::Bot* bot_ = nullptr;
};

struct Game {
    long score = -1;
    long moves = 0;
    double choosingSeconds = 0;
};

Game Play(shell::AppletLibrary& library, int difficulty, uint64_t seed) {
    shell::VirtualTime time;
    shell::ScriptedDialogs scripted;
    BotDialogs dialogs;
    shell::HostOptions options;
    options.resources = library.Resources();
    options.time = time.AsSource();
    options.sound = shell::SoundBank::Mode::Silent;
    options.seed = seed;
    options.dialogs = &dialogs;
    options.fonts = shell::fonts::SystemFonts::Source(shell::fonts::SystemFonts::DefaultMemoryFile());
    shell::Host host(options);
    // Every score, even 0, enters this table at the top, where it is read back.
    host::SettingsStore* store = host.Site()->settings;
    for (int rank = 1; rank <= 5; ++rank) {
        store->WriteString(("Score" + std::to_string(rank) + "Name").c_str(), "Bench");
        store->WriteString(("Score" + std::to_string(rank) + "Score").c_str(), "-1");
    }
    shell::Session session(host, library.Entry());
    session.Start();
    session.Compose(nullptr);
    shell::HeadlessRunner runner(session, host, time, scripted);

    shell::bot::BotOptions bot;
    bot.difficulty = difficulty;
    bot.games = 1;
    bot.seed = seed ^ 0x9E3779B97F4A7C15ULL;  // as the program makes it from --seed
    bot.playToEnd = true;
    shell::bot::Bot player(session, host, bot);
    dialogs.Attach(&player);
    for (int wait = player.Step(); wait >= 0; wait = player.Step()) runner.Wait(wait);

    Game game;
    game.moves = player.MovesChosen();
    game.choosingSeconds = player.ChoosingSeconds();
    char value[256] = {};
    if (!player.Fault().empty()) {
        std::fprintf(stderr, "spherolette-bot-scores: seed %llu: %s\n",
                     static_cast<unsigned long long>(seed), player.Fault().c_str());
    } else if (player.GamesFinished() == 1 &&
               store->ReadString("Score1Score", value) != host::kSettingsKeyAbsent) {
        game.score = std::strtol(value, nullptr, 10);
    }
    session.Stop();
    return game;
}

long Median(std::vector<long> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 == 1 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string library = bench::BuiltGameLibrary();
    int first = 1, last = 20, onlyDifficulty = -1;
    bool each = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--library" && hasValue) {
            library = argv[++i];
        } else if (a == "--seeds" && hasValue &&
                   std::sscanf(argv[i + 1], "%d-%d", &first, &last) == 2 && 0 <= first &&
                   first <= last) {
            ++i;
        } else if (a == "--difficulty" && hasValue) {
            onlyDifficulty = std::atoi(argv[++i]);
        } else if (a == "--games") {
            each = true;
        } else {
            std::fprintf(stderr, "usage: spherolette-bot-scores [--library FILE] "
                                 "[--seeds FIRST-LAST] [--difficulty 0-4] [--games]\n");
            return 2;
        }
    }
    if (onlyDifficulty < -1 || onlyDifficulty > 4) return 2;

    std::unique_ptr<shell::AppletLibrary> lib = bench::OpenGameLibrary(library, "spherolette-bot-scores");
    if (!lib) return 1;

    std::printf("Seeds %d to %d, one game each, played to the end.\n\n", first, last);
    std::printf("| Difficulty | Median score | Lowest | Highest | Median moves | "
                "Choosing a move (mean CPU time) |\n| --- | --- | --- | --- | --- | --- |\n");
    std::fflush(stdout);
    bool complete = true;
    for (int d = 0; d < 5; ++d) {
        if (onlyDifficulty >= 0 && d != onlyDifficulty) continue;
        std::vector<long> scores, moves;
        long allMoves = 0;
        double choosing = 0;
        for (int seed = first; seed <= last; ++seed) {
            const Game g = Play(*lib, d, static_cast<uint64_t>(seed));
            if (each) {
                std::fprintf(stderr, "%s seed %d: score %ld, %ld moves\n", kDifficultyNames[d],
                             seed, g.score, g.moves);
            }
            if (g.score < 0) complete = false;
            scores.push_back(g.score);
            moves.push_back(g.moves);
            allMoves += g.moves;
            choosing += g.choosingSeconds;
        }
        const double perMove = allMoves > 0 ? choosing / static_cast<double>(allMoves) : 0.0;
        std::printf("| %s | %ld | %ld | %ld | %ld | %.1f µs (%.0f moves/s) |\n",
                    kDifficultyNames[d], Median(scores),
                    *std::min_element(scores.begin(), scores.end()),
                    *std::max_element(scores.begin(), scores.end()), Median(moves),
                    perMove * 1e6, perMove > 0 ? 1 / perMove : 0.0);
        std::fflush(stdout);
    }
    return complete ? 0 : 1;
}
