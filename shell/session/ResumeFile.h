// The game kept when the player quits in the middle of it: its run's record (see Replay.h) in
// a TextStorage (on a desktop a file next to the settings file), written atomically, and the
// storage's lock that makes it one running copy's, so two copies of the program never resume
// the same game.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "shell/session/Replay.h"
#include "shell/settings/TextStorage.h"

namespace shell {

// Reads a kept game's text: a whole record (its end line read) made by `game` at `version`,
// holding at most ResumeFile::kLongestPlayMs of play. False with the reason, in words for the
// player, otherwise.
bool ReadKeptGame(const std::string& text, const std::string& game, const std::string& version,
                  Replay* record, std::string* why);

class ResumeFile {
public:
    // An hour of play takes a few megabytes; a file far larger is not a kept game.
    static constexpr size_t kLargestRecord = size_t{64} << 20;
    // Playing it back takes about a second an hour: a longer record is not resumed.
    static constexpr int64_t kLongestPlayMs = 24LL * 3600 * 1000;

    // "<folder>/<settings file's name without its extension>.resume".
    static std::string PathFor(const std::string& settingsPath);

    ResumeFile(std::unique_ptr<TextStorage> storage, std::function<void(const std::string&)> log);
    // The storage's name (a desktop's path).
    const std::string& Path() const { return storage_->Name(); }

    // Takes the lock, held while this object lives. False when another copy of the program
    // holds it: that copy keeps and offers the game, and this one does neither.
    bool Claim();
    bool Claimed() const { return storage_->Locked(); }

    enum class Found { Nothing, Game, SetAside };
    // Reads the kept game. One that is damaged, cut short, too large, kept by another version
    // or by another game library is set out of the way ("<path>.set-aside-<time>") and
    // *notice says so in a line for the player.
    Found Load(const std::string& game, const std::string& version, Replay* record,
               std::string* notice);
    // Writes the record atomically; false (logged) when it could not be written.
    bool Keep(const std::string& record);
    // No game is kept any more.
    void Discard();

private:
    void SetAside(const std::string& why, std::string* notice);

    std::unique_ptr<TextStorage> storage_;
    std::function<void(const std::string&)> log_;
};

}  // namespace shell
