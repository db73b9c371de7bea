// Keeping, reading and discarding the game kept at quit.
#include "shell/session/ResumeFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

namespace shell {

bool ReadKeptGame(const std::string& text, const std::string& game, const std::string& version,
                  Replay* record, std::string* why) {
    std::string error;
    Replay read;
    if (!ParseReplay(text, &read, &error)) {
        *why = "it is damaged (" + error + ")";
        return false;
    }
    if (!read.ended) {
        *why = "it was cut short";
        return false;
    }
    const int64_t first = read.steps.empty() ? read.end : read.steps.front().time;
    if (read.end - first > ResumeFile::kLongestPlayMs) {
        *why = "it holds more than a day of play";
        return false;
    }
    if (read.game != game) {
        *why = "it was kept by a game library that is not here (" +
               (read.game.empty() ? std::string("none named") : read.game) + ")";
        return false;
    }
    if (read.version != version) {
        *why = "it was kept by version " + read.version + " and this is " + version;
        return false;
    }
    *record = std::move(read);
    return true;
}

std::string ResumeFile::PathFor(const std::string& settingsPath) {
    const std::string folder = DirectoryOf(settingsPath);
    const size_t slash = settingsPath.find_last_of('/');
    std::string name = slash == std::string::npos ? settingsPath : settingsPath.substr(slash + 1);
    const size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0) name.resize(dot);
    if (name.empty()) name = "settings";
    return folder + "/" + name + ".resume";
}

ResumeFile::ResumeFile(std::string path, std::function<void(const std::string&)> log)
    : path_(std::move(path)), log_(std::move(log)) {}

bool ResumeFile::Claim() { return lock_.Held() || lock_.Take(path_ + ".lock", /*wait=*/false); }

ResumeFile::Found ResumeFile::Load(const std::string& game, const std::string& version,
                                   Replay* record, std::string* notice) {
    struct stat info {};
    if (::stat(path_.c_str(), &info) != 0) return Found::Nothing;
    if (!S_ISREG(info.st_mode) || static_cast<size_t>(info.st_size) > kLargestRecord) {
        SetAside("it is not a kept game", notice);
        return Found::SetAside;
    }
    if (info.st_size == 0) {
        SetAside("it is empty", notice);
        return Found::SetAside;
    }
    std::ifstream in(path_, std::ios::binary);
    std::stringstream text;
    if (!in || !(text << in.rdbuf())) {
        SetAside("it could not be read", notice);
        return Found::SetAside;
    }
    std::string why;
    if (!ReadKeptGame(text.str(), game, version, record, &why)) {
        SetAside(why, notice);
        return Found::SetAside;
    }
    return Found::Game;
}

void ResumeFile::SetAside(const std::string& why, std::string* notice) {
    std::string aside;
    if (MoveFileAside(path_, "set-aside", &aside)) {
        if (log_) log_("the last game cannot be resumed: " + why + "; kept as " + aside);
    } else {
        // It must not be offered again: without a rename, it goes.
        ::unlink(path_.c_str());
        if (log_) log_("the last game cannot be resumed: " + why + "; removed");
    }
    *notice = "Your last game could not be resumed: " + why;
}

bool ResumeFile::Keep(const std::string& record) {
    std::string why;
    if (WriteFileAtomically(path_, record, &why)) return true;
    if (log_) log_("the game could not be kept for next time: " + path_ + ": " + why);
    return false;
}

void ResumeFile::Discard() {
    if (::unlink(path_.c_str()) != 0 && errno != ENOENT && log_) {
        log_("the kept game " + path_ + " could not be removed: " + std::strerror(errno));
    }
}

}  // namespace shell
