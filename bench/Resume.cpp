// What resuming a kept game costs: the shell's player bot plays for an hour of the game's time
// (game after game, as one run of the applet, ending in a game), the run's record is kept as
// the program keeps it at quit, and the record is played back into a fresh start of the applet
// the way the title screen's "Resume your last game?" does, with nothing composed, heard or
// traced. The baseline, measured in the same run, is a plain start afresh of the applet.
//
//   spherolette-resume [--library FILE] [--minutes M] [--runs N] [--seed S]
//
// Prints the record's size, the time of a plain start and of a resume (medians), their ratio,
// and how many hours of play a second of resuming gets through.
#include <algorithm>
#include <chrono>
#include <ctime>
#include <functional>
#include <tuple>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "shell/bot/Bot.h"
#include "GameLibrary.h"
#include "shell/posix/AppletLibrary.h"
#include "shell/session/Replay.h"
#include "shell/session/Run.h"
#include "shell/session/RunControl.h"
#include "shell/fonts/SystemFonts.h"
#include "shell/settings/FileStorage.h"

namespace {

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

struct Took {
    double wall = 0, cpu = 0;  // seconds
};

// Wall time, and this process's CPU time (which a busy machine disturbs less).
Took SecondsOf(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t cpu = std::clock();
    work();
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
            static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC};
}

// The bot's answers to the game's questions.
class BotDialogs : public shell::Dialogs {
public:
    explicit BotDialogs(shell::bot::Bot& bot) : bot_(bot) {}
    bool Message(const std::string& title, const std::string& text, bool ask) override {
        return bot_.Answer(title, text, ask);
    }
    bool Input(const std::string& title, const std::string& prompt, std::string* text,
               int limit) override {
        std::optional<std::string> name = bot_.Input(title, prompt, limit);
        if (!name) return false;
        *text = name->substr(0, static_cast<size_t>(std::max(0, limit)));
        return true;
    }

private:
    shell::bot::Bot& bot_;
};

}  // namespace

int main(int argc, char** argv) {
    std::string library = bench::BuiltGameLibrary();
    int minutes = 60, runs = 5;
    uint64_t seed = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--library" && hasValue) library = argv[++i];
        else if (a == "--minutes" && hasValue) minutes = std::atoi(argv[++i]);
        else if (a == "--runs" && hasValue) runs = std::atoi(argv[++i]);
        else if (a == "--seed" && hasValue) seed = std::strtoull(argv[++i], nullptr, 10);
        else {
            std::fprintf(stderr, "usage: spherolette-resume [--library FILE] [--minutes M] "
                                 "[--runs N] [--seed S]\n");
            return 2;
        }
    }
    if (minutes < 1 || runs < 1) return 2;
    std::unique_ptr<shell::AppletLibrary> lib = bench::OpenGameLibrary(library, "spherolette-resume");
    if (!lib) return 1;

    shell::VirtualTime time;
    shell::Options options;
    options.seed = seed;
    shell::RunSetup setup;
    setup.time = time.AsSource();
    setup.memoryStoreByDefault = true;
    setup.fonts = shell::fonts::SystemFonts::Source(shell::fonts::SystemFonts::DefaultMemoryFile());
    setup.openFile = shell::FileStorage::Open;
    int code = 0;
    std::unique_ptr<shell::Run> run = shell::Run::Open(options, lib->Entry(), setup, &code);
    if (!run) return 1;
    shell::Host& host = run->GetHost();
    shell::Session& session = run->GetSession();
    std::unique_ptr<shell::ReplayRecorder> recorder =
        shell::ReplayRecorder::InMemory(run->Header(seed));
    recorder->Attach(session, host);
    session.Start();

    // An hour of play, ending in a game.
    shell::bot::BotOptions botOptions;
    botOptions.seed = seed;
    shell::bot::Bot bot(session, host, botOptions);
    BotDialogs answers(bot);
    host.Frame().SetDialogs(&answers);
    const int64_t until = host.Clock().Now() + int64_t{minutes} * 60000;
    auto advance = [&](int64_t ms) {
        const int64_t target = host.Clock().Now() + ms;
        for (int64_t due = host.NextDue(); due >= 0 && due <= target; due = host.NextDue()) {
            time.now += std::max<int64_t>(0, due - host.Clock().Now());
            host.Update();
        }
        time.now += target - host.Clock().Now();
        host.Update();
    };
    while (host.Clock().Now() < until || !host.Frame().GameActive()) {
        const int wait = bot.Step();
        if (wait < 0) {
            std::fprintf(stderr, "spherolette-resume: the bot stopped: %s\n", bot.Fault().c_str());
            return 1;
        }
        advance(std::max(wait, 1));
    }
    host.Frame().SetDialogs(nullptr);
    const std::string text = recorder->Record();
    recorder->Detach();
    shell::Replay record;
    std::string error;
    if (!shell::ParseReplay(text, &record, &error)) {
        std::fprintf(stderr, "spherolette-resume: the record does not read back: %s\n",
                     error.c_str());
        return 1;
    }

    shell::RunControl control(*run, {[&](int64_t t) { time.now += t - host.Clock().Now(); }, [] {}});
    std::vector<double> startWall, startCpu, resumeWall, resumeCpu;
    for (int i = 0; i < runs; ++i) {
        const Took start = SecondsOf([&] { control.Restart(std::nullopt); });
        bool resumed = false;
        const Took resume = SecondsOf([&] { resumed = control.Resume(record); });
        if (!resumed) {
            std::fprintf(stderr, "spherolette-resume: the record did not lead back into a game\n");
            return 1;
        }
        startWall.push_back(start.wall);
        startCpu.push_back(start.cpu);
        resumeWall.push_back(resume.wall);
        resumeCpu.push_back(resume.cpu);
    }
    session.Stop();
    const double playedHours = (record.end - record.steps.front().time) / 3600000.0;
    std::printf("record: %.2f h of play, %zu steps, %.1f MB\n", playedHours, record.steps.size(),
                text.size() / 1048576.0);
    for (const auto& [what, start, resume] :
         {std::tuple{"wall", Median(startWall), Median(resumeWall)},
          std::tuple{"cpu", Median(startCpu), Median(resumeCpu)}}) {
        std::printf("%-4s start afresh (baseline) %.1f ms, resume %.1f ms, resume/start %.0f, "
                    "an hour of play resumes in %.2f s\n",
                    what, start * 1000, resume * 1000, start > 0 ? resume / start : 0,
                    playedHours > 0 ? resume / playedHours : 0);
    }
    return run->Finish("") == shell::kExitOk ? 0 : 1;
}
