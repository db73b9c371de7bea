// Keeping, reading and discarding the game kept at quit.
#include "shell/session/ResumeFile.h"

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
    const size_t slash = settingsPath.find_last_of('/');
    const std::string folder = slash == std::string::npos ? std::string(".")
                               : slash == 0               ? std::string("/")
                                                          : settingsPath.substr(0, slash);
    std::string name = slash == std::string::npos ? settingsPath : settingsPath.substr(slash + 1);
    const size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0) name.resize(dot);
    if (name.empty()) name = "settings";
    return folder + "/" + name + ".resume";
}

ResumeFile::ResumeFile(std::unique_ptr<TextStorage> storage,
                       std::function<void(const std::string&)> log)
    : storage_(std::move(storage)), log_(std::move(log)) {}

bool ResumeFile::Claim() {
    std::string why;
    return storage_->Lock(/*wait=*/false, &why);
}

ResumeFile::Found ResumeFile::Load(const std::string& game, const std::string& version,
                                   Replay* record, std::string* notice) {
    std::string text, why;
    switch (storage_->Read(kLargestRecord, &text, &why)) {
    case TextStorage::ReadResult::kMissing:
        return Found::Nothing;
    case TextStorage::ReadResult::kNotText:
    case TextStorage::ReadResult::kTooLarge:
        SetAside("it is not a kept game", notice);
        return Found::SetAside;
    case TextStorage::ReadResult::kFailed:
        SetAside("it could not be read", notice);
        return Found::SetAside;
    case TextStorage::ReadResult::kRead:
        break;
    }
    if (text.empty()) {
        SetAside("it is empty", notice);
        return Found::SetAside;
    }
    if (!ReadKeptGame(text, game, version, record, &why)) {
        SetAside(why, notice);
        return Found::SetAside;
    }
    return Found::Game;
}

void ResumeFile::SetAside(const std::string& why, std::string* notice) {
    std::string aside, failure;
    if (storage_->SetAside("set-aside", &aside, &failure) && !aside.empty()) {
        if (log_) log_("the last game cannot be resumed: " + why + "; kept as " + aside);
    } else {
        // It must not be offered again: without a rename, it goes.
        const bool removed = storage_->Remove(&failure);
        if (log_) {
            log_("the last game cannot be resumed: " + why +
                 (removed ? std::string("; removed") : "; it could not be removed (" + failure + ")"));
        }
    }
    *notice = "Your last game could not be resumed: " + why;
}

bool ResumeFile::Keep(const std::string& record) {
    std::string why;
    if (storage_->Write(record, &why)) return true;
    if (log_) log_("the game could not be kept for next time: " + Path() + ": " + why);
    return false;
}

void ResumeFile::Discard() {
    std::string why;
    if (!storage_->Remove(&why) && log_) {
        log_("the kept game " + Path() + " could not be removed: " + why);
    }
}

}  // namespace shell
