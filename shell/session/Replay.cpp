// Recording and playing back games.
#include "shell/session/Replay.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <sstream>

namespace shell {

namespace {

constexpr const char* kMagic = "spherolette-replay 1";

std::string Escape(const std::string& s) {
    std::string out;
    for (unsigned char c : s) {
        if (c == '\\' || c == ' ' || c < 32 || c == 127) {
            static const char* kHex = "0123456789abcdef";
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool Unescape(const std::string& s, std::string* out) {
    out->clear();
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\') {
            *out += s[i];
            continue;
        }
        if (i + 3 >= s.size() || s[i + 1] != 'x') return false;
        const int hi = HexValue(s[i + 2]), lo = HexValue(s[i + 3]);
        if (hi < 0 || lo < 0) return false;
        *out += static_cast<char>(hi * 16 + lo);
        i += 3;
    }
    return true;
}

bool ParseInt64(const std::string& word, int64_t* out) {
    if (word.empty()) return false;
    errno = 0;
    char* end = nullptr;
    const long long v = std::strtoll(word.c_str(), &end, 10);
    if (errno != 0 || *end != '\0') return false;
    *out = v;
    return true;
}

struct InputName {
    const char* name;
    SessionInput::Kind kind;
    int numbers;  // after the time
};

constexpr InputName kInputs[] = {
    {"down", SessionInput::Kind::Down, 2},   {"move", SessionInput::Kind::Move, 2},
    {"up", SessionInput::Kind::Up, 2},       {"left", SessionInput::Kind::Left, 0},
    {"typed", SessionInput::Kind::Typed, 1}, {"help", SessionInput::Kind::Help, 0},
    {"escape", SessionInput::Kind::Escape, 0},
};

}  // namespace

bool ParseReplay(const std::string& text, Replay* replay, std::string* error) {
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    bool magic = false;
    auto fail = [&](const std::string& why) {
        *error = "line " + std::to_string(number) + ": " + why;
        return false;
    };
    while (std::getline(lines, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        if (!magic) {
            if (line != kMagic) return fail("not a replay of this game");
            magic = true;
            continue;
        }
        std::vector<std::string> words;
        std::istringstream split(line);
        for (std::string w; split >> w;) words.push_back(w);
        const std::string& name = words[0];
        std::vector<int64_t> n;
        for (size_t i = 1; i < words.size(); ++i) {
            int64_t v = 0;
            if (!ParseInt64(words[i], &v)) break;
            n.push_back(v);
        }
        if (name == "seed" && words.size() == 2) {
            char* end = nullptr;
            errno = 0;
            replay->seed = std::strtoull(words[1].c_str(), &end, 10);
            if (errno != 0 || *end != '\0') return fail("bad seed");
        } else if ((name == "relaxed" || name == "symbols") && n.size() == 1 && words.size() == 2) {
            (name == "relaxed" ? replay->relaxed : replay->symbols) = n[0] != 0;
        } else if (name == "setting" && words.size() >= 2 && words.size() <= 3) {
            std::string key, value;
            if (!Unescape(words[1], &key) || !Unescape(words.size() == 3 ? words[2] : "", &value)) {
                return fail("bad escape");
            }
            replay->settings.emplace_back(key, value);
        } else if (name == "tick" && n.size() == 1 && words.size() == 2) {
            replay->steps.push_back({ReplayStep::Kind::Tick, n[0], {}});
        } else if (name == "end" && n.size() == 1 && words.size() == 2) {
            replay->end = n[0];
        } else if (name == "answer" && n.size() == 1 && words.size() == 2) {
            replay->answers.push_back({false, n[0] != 0, {}});
        } else if (name == "input" && !n.empty() && words.size() <= 3) {
            DialogAnswer a{true, n[0] != 0, {}};
            if (words.size() == 3 && !Unescape(words[2], &a.text)) return fail("bad escape");
            replay->answers.push_back(a);
        } else {
            const InputName* kind = nullptr;
            for (const InputName& k : kInputs) {
                if (name == k.name) kind = &k;
            }
            if (kind == nullptr) return fail("unknown record \"" + name + "\"");
            if (n.size() != static_cast<size_t>(1 + kind->numbers) || words.size() != n.size() + 1) {
                return fail(name + " takes " + std::to_string(1 + kind->numbers) + " numbers");
            }
            ReplayStep step{ReplayStep::Kind::Input, n[0], {kind->kind, 0, 0}};
            if (kind->numbers >= 1) step.input.x = static_cast<int>(n[1]);
            if (kind->numbers >= 2) step.input.y = static_cast<int>(n[2]);
            replay->steps.push_back(step);
        }
        if (!replay->steps.empty() && replay->steps.size() >= 2 &&
            replay->steps.back().time < replay->steps[replay->steps.size() - 2].time) {
            return fail("time runs backwards");
        }
    }
    if (!magic) {
        *error = "empty file";
        return false;
    }
    if (!replay->steps.empty() && replay->end < replay->steps.back().time) {
        replay->end = replay->steps.back().time;
    }
    return true;
}

bool LoadReplay(const std::string& path, Replay* replay, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        *error = "cannot read " + path;
        return false;
    }
    std::stringstream text;
    text << in.rdbuf();
    return ParseReplay(text.str(), replay, error);
}

// ---- Recording -------------------------------------------------------------------------

std::unique_ptr<ReplayRecorder> ReplayRecorder::Open(const std::string& path,
                                                     const Replay& header, std::string* error) {
    std::unique_ptr<ReplayRecorder> r(new ReplayRecorder());
    r->out_.open(path, std::ios::binary | std::ios::trunc);
    if (!r->out_) {
        *error = "cannot write " + path;
        return nullptr;
    }
    r->Line(kMagic);
    r->Line("seed " + std::to_string(header.seed));
    r->Line(std::string("relaxed ") + (header.relaxed ? "1" : "0"));
    r->Line(std::string("symbols ") + (header.symbols ? "1" : "0"));
    for (const auto& [key, value] : header.settings) {
        r->Line("setting " + Escape(key) + " " + Escape(value));
    }
    return r;
}

ReplayRecorder::~ReplayRecorder() { Finish(); }

void ReplayRecorder::Line(const std::string& line) {
    if (finished_) return;
    out_ << line << '\n';
    out_.flush();
}

void ReplayRecorder::Attach(Session& session, Host& host) {
    session_ = &session;
    host_ = &host;
    host.Frame().OnAnswer([this](bool inputBox, bool yes, const std::string& text) {
        if (inputBox) {
            Line(yes ? "input 1 " + Escape(text) : std::string("input 0"));
        } else {
            Line(std::string("answer ") + (yes ? "1" : "0"));
        }
    });
    session.OnInput([this](const SessionInput& in) {
        const int64_t t = host_->Clock().Now();
        for (const InputName& k : kInputs) {
            if (k.kind != in.kind) continue;
            std::string line = std::string(k.name) + " " + std::to_string(t);
            if (k.numbers >= 1) line += " " + std::to_string(in.x);
            if (k.numbers >= 2) line += " " + std::to_string(in.y);
            Line(line);
        }
    });
    host.OnBusyUpdate([this](int64_t now) { Line("tick " + std::to_string(now)); });
}

void ReplayRecorder::Detach() {
    if (session_ != nullptr) session_->OnInput({});
    if (host_ != nullptr) {
        host_->OnBusyUpdate({});
        host_->Frame().OnAnswer({});
    }
}

void ReplayRecorder::Finish() {
    if (finished_) return;
    if (host_ != nullptr) Line("end " + std::to_string(host_->Clock().Now()));
    Detach();
    session_ = nullptr;
    host_ = nullptr;
    finished_ = true;
    out_.close();
}

// ---- Playing back ----------------------------------------------------------------------

bool ReplayDialogs::Message(const std::string&, const std::string&, bool ask) {
    if (!ask) return true;
    if (answers_.empty() || answers_.front().input) return false;
    const bool yes = answers_.front().yes;
    answers_.pop_front();
    return yes;
}

bool ReplayDialogs::Input(const std::string&, const std::string&, std::string* text, int limit) {
    if (answers_.empty() || !answers_.front().input) return false;
    DialogAnswer a = std::move(answers_.front());
    answers_.pop_front();
    if (!a.yes) return false;
    if (limit >= 0 && a.text.size() > static_cast<size_t>(limit)) a.text.resize(limit);
    *text = a.text;
    return true;
}

void ReplayPlayer::PlayUntil(int64_t upTo) {
    while (!Done() && replay_.steps[next_].time <= upTo) {
        const ReplayStep& step = replay_.steps[next_++];
        setTime_(step.time);
        if (step.kind == ReplayStep::Kind::Tick) {
            host_.Update();
        } else {
            session_.Apply(step.input);
        }
    }
}

void ReplayPlayer::PlayAll() {
    PlayUntil(replay_.end);
    setTime_(replay_.end);
    host_.Animations().Advance(host_.Clock().Now());
}

// ---- Pacing ----------------------------------------------------------------------------

ReplayPacer::ReplayPacer(ReplayPlayer& player, Host& host, VirtualTime& time, const Pause& pause,
                         std::function<int64_t()> realMs)
    : player_(player), host_(host), time_(time), pause_(pause), realMs_(std::move(realMs)) {
    at_ = host_.Clock().Now();
    real_ = realMs_();
}

void ReplayPacer::Frame() {
    const int64_t now = realMs_();
    if (!pause_.Active()) at_ += now - real_;
    real_ = now;
    if (!player_.Done()) {
        player_.PlayUntil(at_);
        // Between steps the clock stays at the last one, so nothing runs that the recording
        // did not run.
        if (player_.Done()) at_ = std::max(at_, host_.Clock().Now());
    } else if (!host_.Clock().Held()) {
        // Once played back, the game goes on live from where it was.
        host_.Clock().Unlatch();
        time_.now += at_ - host_.Clock().Now();
    }
}

int64_t ReplayPacer::NextWake() const {
    if (player_.Done()) return 16;
    return std::max<int64_t>(0, player_.NextTime() - at_);
}

}  // namespace shell
