// The shell's persistent key/value store: one text file (see SettingsFormat.h), held in memory,
// written whole and atomically on every change, and views that give the applet and the shell
// each their own key namespace through host::SettingsStore.
//
// Writing: every Set/SetMany takes an advisory lock (flock on "<path>.lock"), re-reads the file,
// applies its own keys over what is on disk, and replaces the file atomically (temporary file in
// the same directory, write, fsync, rename, fsync of the directory). So two shells writing at
// once both leave a parseable file holding both their keys, the last writer winning per key, and
// a crash or kill at any moment leaves on disk one whole state the store had after some complete
// Set or SetMany call: never a torn file, never half of a SetMany batch.
//
// Failures never stop the game. A write that fails keeps the old value in memory and returns
// false; the first failure is logged in one line, and further ones are not until a write
// succeeds again. A file that cannot be parsed is renamed to "<path>.corrupt-<UTC time>", one
// line is logged, and the store starts empty. A file that exists but cannot be read, or cannot
// be moved aside, is never overwritten: the store starts empty and refuses writes.
#pragma once

#include "host/Services.h"
#include "shell/settings/SettingsFormat.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace shell {

using SettingsLog = std::function<void(const std::string& line)>;
using SettingsEntries = std::vector<std::pair<std::string, std::string>>;

class SettingsView;

class SettingsFile {
public:
    // Opens the store at `path`; a missing file is an empty store. `log` receives one line per
    // problem (may be empty). Temporary files left by writers killed more than ten minutes ago
    // are removed.
    explicit SettingsFile(std::string path, SettingsLog log = {});
    SettingsFile(const SettingsFile&) = delete;
    SettingsFile& operator=(const SettingsFile&) = delete;

    // The value held for `key`, or nothing.
    std::optional<std::string> Get(std::string_view key) const;
    // Stores one value; true once the file on disk holds it.
    bool Set(const std::string& key, const std::string& value);
    // Stores several values in one atomic file write: all of them reach the disk, or none.
    // Refused (false, nothing changed) when a key or value holds a NUL byte or the entry or the
    // whole file would pass the format's size limits.
    bool SetMany(const SettingsEntries& entries);
    // Every key and value held.
    const SettingsMap& Values() const { return values_; }
    const std::string& Path() const { return path_; }
    // False when the store refuses writes to protect a file it could not read or move aside.
    bool Writable() const { return writable_; }
    // What a player should be told about the file found at start-up (kept aside, left alone),
    // in a sentence or two; empty when it was read, or missing.
    const std::string& Problem() const { return problem_; }

    // A view whose keys are stored as `prefix + key`. The file must outlive its views.
    std::unique_ptr<SettingsView> View(std::string prefix);

private:
    enum class DiskState { kRead, kMissing, kCorrupt, kUnreadable };
    DiskState ReadDisk(SettingsMap* out, std::string* why) const;
    // The locked read-merge-write behind SetMany; false (values unchanged) when it fails.
    bool SaveMany(const SettingsEntries& entries);
    bool KeepAside(const std::string& why);
    bool WriteAtomically(const std::string& text, std::string* why) const;
    void RemoveStaleTemporaries() const;
    void LogFailure(const std::string& line);
    void Log(const std::string& line) const;

    std::string path_;
    SettingsLog log_;
    SettingsMap values_;
    bool writable_ = true;
    bool failureLogged_ = false;
    std::string problem_;
};

// One namespace of a SettingsFile as the host contract's store. Release() does not free the
// view (its owner does); it calls the release hook, which the shell uses to count references.
class SettingsView final : public host::SettingsStore {
public:
    SettingsView(SettingsFile* file, std::string prefix);

    // Stores `value` under prefix + key. 0 on success, 1 on failure (null arguments included).
    int32_t WriteString(const char* key, const char* value) override;
    // Copies at most 255 bytes of the value and a NUL into `out` and returns 0; returns
    // host::kSettingsKeyAbsent, leaving `out` untouched, for an absent (or null) key.
    int32_t ReadString(const char* key, char* out) override;
    void Release() override;

    // Stores several values under the prefix in one atomic write (see SettingsFile::SetMany).
    bool WriteMany(const SettingsEntries& entries);
    void SetReleaseHook(std::function<void()> hook) { releaseHook_ = std::move(hook); }
    const std::string& Prefix() const { return prefix_; }

private:
    SettingsFile* file_;
    std::string prefix_;
    std::function<void()> releaseHook_;
};

}  // namespace shell
