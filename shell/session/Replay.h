// Recorded games: the seed, the options that change play, the game's stored values at the
// start, and every input, timer tick and dialog answer with its time on the applet's clock,
// so that playing the file back gives the same game, move for move.
//
// The file is text, one record a line:
//   spherolette-replay 1
//   game NAME | version V   the game and its version that made the file (both optional)
//   seed N | relaxed 0/1 | symbols 0/1 | setting KEY VALUE   (header, before any step)
//   tick T                  the host ran its timers and animations at applet time T
//   down T X Y | move T X Y | up T X Y | left T | typed T C | help T | escape T
//   answer 0/1              the game's next Yes/No question was answered so
//   input 0/1 TEXT          the game's next input box was confirmed (1) with TEXT, or cancelled
//   end T
// KEY, VALUE, TEXT and NAME escape "\\", space, newline, carriage return and bytes below 32
// as \xHH.
#pragma once

#include <cstdint>
#include <deque>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "shell/core/AppletClock.h"
#include "shell/session/FrameClient.h"
#include "shell/session/Pause.h"
#include "shell/session/Session.h"
#include "shell/core/Dialogs.h"
#include "shell/core/Host.h"
#include "shell/settings/StoredSettings.h"

namespace shell {

struct ReplayStep {
    enum class Kind { Tick, Input };
    Kind kind = Kind::Tick;
    int64_t time = 0;
    SessionInput input;
};

struct DialogAnswer {
    bool input = false;  // an input box (else a Yes/No question)
    bool yes = false;    // Yes, or the input box confirmed
    std::string text;
};

struct Replay {
    std::string game;     // empty when the file does not say
    std::string version;
    bool ended = false;   // the end line was read
    uint64_t seed = 0;
    bool relaxed = false;
    bool symbols = false;
    SettingsEntries settings;  // the game's keys (without their prefix) at the start
    std::vector<ReplayStep> steps;
    std::deque<DialogAnswer> answers;
    int64_t end = 0;
};

bool ParseReplay(const std::string& text, Replay* replay, std::string* error);
bool LoadReplay(const std::string& path, Replay* replay, std::string* error);

// The header lines of a replay (the magic line first).
std::string ReplayHeaderText(const Replay& header);

// Records the game as it is played: in memory, the run of the applet since its last start
// (what is kept when the player quits mid-game), and optionally in a file, where each line
// arrives as it happens, so a game cut short still replays up to that point.
class ReplayRecorder {
public:
    // Null with a message when the file cannot be written.
    static std::unique_ptr<ReplayRecorder> Open(const std::string& path, const Replay& header,
                                                std::string* error);
    // Keeps the record in memory only.
    static std::unique_ptr<ReplayRecorder> InMemory(const Replay& header);
    ~ReplayRecorder();

    // Watches the session's input, the host's busy updates and the answers to the game's
    // questions (the shell's own questions, such as quitting, are not the game's).
    void Attach(Session& session, Host& host);
    void Detach();
    // Writes the end line and closes the file (once).
    void Finish();
    // The applet was started afresh: the record in memory begins again with `header`. A file
    // holds one run of the applet, so its recording ends here.
    void Restarted(const Replay& header);
    // The record in memory, ended at the applet's time now.
    std::string Record() const;
    bool Writing() const { return out_.is_open(); }

private:
    ReplayRecorder() = default;
    void Line(const std::string& line);
    void EndFile();

    std::ofstream out_;
    std::string header_;  // the memory record's header lines
    std::string body_;    // and its steps
    Session* session_ = nullptr;
    Host* host_ = nullptr;
    bool finished_ = false;
};

// Gives the game the recorded answers in order (No or cancel once they run out).
class ReplayDialogs : public Dialogs {
public:
    explicit ReplayDialogs(std::deque<DialogAnswer> answers) : answers_(std::move(answers)) {}
    bool Message(const std::string& title, const std::string& text, bool ask) override;
    bool Input(const std::string& title, const std::string& prompt, std::string* text,
               int limit) override;

private:
    std::deque<DialogAnswer> answers_;
};

// Plays the steps back. `setTime` puts the applet clock at a given time.
class ReplayPlayer {
public:
    ReplayPlayer(const Replay& replay, Session& session, Host& host,
                 std::function<void(int64_t)> setTime)
        : replay_(replay), session_(session), host_(host), setTime_(std::move(setTime)) {}
    // Plays every step up to applet time `upTo`.
    void PlayUntil(int64_t upTo);
    // Plays everything and moves the clock to the recorded end.
    void PlayAll();
    bool Done() const { return next_ >= replay_.steps.size(); }
    // Applet time of the next step, or the end.
    int64_t NextTime() const { return Done() ? replay_.end : replay_.steps[next_].time; }

private:
    const Replay& replay_;
    Session& session_;
    Host& host_;
    std::function<void(int64_t)> setTime_;
    size_t next_ = 0;
};

// Plays a replay back in real time on the virtual clock `time` the host runs on, standing still
// while the game is paused. Once played back, the game goes on live from where it was.
class ReplayPacer : public FrameClient {
public:
    ReplayPacer(ReplayPlayer& player, Host& host, VirtualTime& time, const Pause& pause,
                std::function<int64_t()> realMs);
    bool Replaying() const { return !player_.Done(); }
    void Frame() override;
    int64_t NextWake() const override;

private:
    ReplayPlayer& player_;
    Host& host_;
    VirtualTime& time_;
    const Pause& pause_;
    std::function<int64_t()> realMs_;
    int64_t real_ = -1;  // real time the replay clock was last moved on
    int64_t at_ = 0;     // applet time the replay has reached
};

}  // namespace shell
