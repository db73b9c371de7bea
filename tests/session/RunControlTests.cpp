// Leaving a game and coming back to it: starting the game afresh keeps the host's objects
// accounted for and records nothing of the abandoned game, the relaxed clock waits for the
// next game, and a game kept at quit resumes to exactly where it was.
#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <random>

#include "shell/core/Log.h"

#include "shell/bot/Bot.h"
#include "tests/session/KeptRun.h"

namespace {

using shell_test::KeptRun;

// The trace of the game's calls while `run` runs, without the objects' numbers (which count
// every object the process made).
std::string TraceOf(const std::function<void()>& run) {
    ::testing::internal::CaptureStderr();
    shell::SetTraceEnabled(true);
    run();
    shell::SetTraceEnabled(false);
    const std::string text = ::testing::internal::GetCapturedStderr();
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        out += text[i];
        if (text[i] != '#') continue;
        while (i + 1 < text.size() && std::isdigit(static_cast<unsigned char>(text[i + 1]))) ++i;
    }
    return out;
}

class StartingAfresh : public KeptRun {};

TEST_F(StartingAfresh, AHundredRestartsLeaveEveryObjectAccountedFor) {
    Open(3);
    for (int i = 0; i < 100; ++i) {
        // Every other time into a game, as the menu's "New game" does.
        control->Restart(i % 2 == 0 ? std::optional<int>(i % 5) : std::nullopt);
        EXPECT_EQ(host().Frame().GameActive(), i % 2 == 0) << i;
        if (i % 2 == 0) {
            EXPECT_EQ(control->Difficulty(), i % 5);
        }
        Advance(i % 7 * 40);
        const shell::Ledger& ledger = host().GetLedger();
        ASSERT_TRUE(ledger.OverReleased().empty()) << i << "\n" << ledger.Report();
    }
    EXPECT_EQ(Close(), shell::kExitOk);
}

TEST_F(StartingAfresh, AnAbandonedGameRecordsNothingAndTheSameDifficultyStartsAgain) {
    Open(11);
    Click(130, 304);  // "Medium"
    ASSERT_EQ(control->Difficulty(), 2);
    const std::string before = Read(Settings());
    Advance(60000);  // waves come, the clock runs out
    control->Restart(control->Difficulty());
    EXPECT_TRUE(host().Frame().GameActive());
    EXPECT_EQ(control->Difficulty(), 2);
    control->Restart(std::nullopt);
    EXPECT_FALSE(host().Frame().GameActive());
    EXPECT_EQ(Read(Settings()), before);
    // Quitting on the title screen keeps nothing.
    EXPECT_EQ(Close(), shell::kExitOk);
    EXPECT_FALSE(std::filesystem::exists(KeptPath()));
}

TEST_F(StartingAfresh, AGameAfterARestartPlaysLikeTheFirstGameOfTheProcess) {
    Open(7);  // a given seed: every start afresh uses it again
    auto play = [&] {
        EXPECT_TRUE(MoveABubble());
        Advance(40000);  // the first move's clock runs out and brings waves
    };
    control->Restart(4);
    const std::string first = TraceOf(play);
    EXPECT_NE(first.find("Random"), std::string::npos);
    control->Restart(4);
    const std::string second = TraceOf(play);
    EXPECT_TRUE(second == first);  // (not EXPECT_EQ: a difference would print megabytes)
}

TEST_F(StartingAfresh, TheRelaxedClockWaitsForTheGameInProgressToEnd) {
    Open(4);
    Click(130, 304);
    run->GetPrefs().SetRelaxed(true);
    EXPECT_TRUE(control->RelaxedPending());
    EXPECT_EQ(host().Timers().Slowdown(), 1);
    // One move starts the clock; its waves fill the board and the game ends (the scripted
    // answers say no to another game).
    ASSERT_TRUE(MoveABubble());
    for (int i = 0; i < 3600 && host().Frame().GameActive(); ++i) Advance(1000);
    ASSERT_FALSE(host().Frame().GameActive());
    EXPECT_FALSE(control->RelaxedPending());
    EXPECT_EQ(host().Timers().Slowdown(), 2);
    EXPECT_EQ(run->Used().relaxed, true);
}

// ---- Resuming ------------------------------------------------------------------------------

// The bot plays; its answers to the game's questions are given as a player gives them.
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

class Resuming : public KeptRun {};

#ifdef SPHEROLETTE_SANITIZED
constexpr uint64_t kResumedGames = 8;
#else
constexpr uint64_t kResumedGames = 50;
#endif

TEST_F(Resuming, FiftySeededGamesQuitAtRandomMomentsResumeToTheSameGame) {
    std::mt19937 random(2024);
    for (uint64_t seed = 1; seed <= kResumedGames; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Open(seed);
        const int64_t quitAt =
            host().Clock().Now() + std::uniform_int_distribution<int64_t>(2000, 90000)(random);
        shell::bot::BotOptions options;
        options.seed = seed;
        shell::bot::Bot bot(session(), host(), options);
        BotDialogs answers(bot);
        host().Frame().SetDialogs(&answers);
        while (!(host().Clock().Now() >= quitAt && host().Frame().GameActive())) {
            const int wait = bot.Step();
            ASSERT_GE(wait, 0) << bot.Fault();
            Advance(std::max(wait, 1));
        }
        host().Frame().SetDialogs(&dialogs);
        const shell::Pixmap atQuit = Picture();
        shell::Replay record;
        std::string error;
        ASSERT_TRUE(shell::ParseReplay(run->Recorder()->Record(), &record, &error)) << error;
        // What the game does next, left to its clock: pops end, waves come, and every call
        // the game makes on the way is traced.
        const std::string next = TraceOf([&] { Advance(30000); });
        const shell::Pixmap later = Picture();
        ASSERT_EQ(Close(), shell::kExitOk);

        Open(seed + 1000);  // a later start, with a seed of its own
        ASSERT_TRUE(control->Resume(record));
        EXPECT_TRUE(Picture() == atQuit);
        EXPECT_TRUE(TraceOf([&] { Advance(30000); }) == next);
        EXPECT_TRUE(Picture() == later);
        ASSERT_EQ(Close(), shell::kExitOk);
        if (HasFailure()) break;
    }
}

}  // namespace
