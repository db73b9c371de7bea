// The shell's persistent key/value store: one text (see SettingsFormat.h) in a TextStorage, held
// in memory, written whole and atomically on every change, and views that give the applet and
// the shell each their own key namespace through host::SettingsStore. The same on every host;
// a desktop keeps the text in a file (SettingsFile), a web page in its browser's storage.
//
// Writing: every Set/SetMany takes the storage's single-writer lock, re-reads the text, applies
// its own keys over what is stored, and replaces the text atomically. So two shells writing at
// once both leave a parseable text holding both their keys, the last writer winning per key,
// and a crash or kill at any moment leaves one whole state the store had after some complete
// Set or SetMany call: never a torn text, never half of a SetMany batch.
//
// Failures never stop the game. A write that fails keeps the new value in memory for the
// session (and saves it with the next write that gets through) and returns false; the first failure is logged in one line, and further ones are not
// until a write succeeds again. A text that cannot be parsed is set aside ("corrupt"), one line
// is logged, the player is told once (Problem), and the store starts empty. A text that exists
// but cannot be read, or cannot be set aside, is never overwritten: the store starts empty and
// refuses writes.
#pragma once

#include "host/Services.h"
#include "shell/settings/SettingsFormat.h"
#include "shell/settings/TextStorage.h"

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

class StoredSettings {
public:
    // Opens the store over `storage`; nothing stored is an empty store. `log` receives one line
    // per problem (may be empty).
    explicit StoredSettings(std::unique_ptr<TextStorage> storage, SettingsLog log = {});
    virtual ~StoredSettings() = default;
    StoredSettings(const StoredSettings&) = delete;
    StoredSettings& operator=(const StoredSettings&) = delete;

    // The value held for `key`, or nothing.
    std::optional<std::string> Get(std::string_view key) const;
    // Stores one value; true once the storage holds it.
    bool Set(const std::string& key, const std::string& value);
    // Stores several values in one atomic file write: all of them reach the disk, or none.
    // Refused (false, nothing changed) when a key or value holds a NUL byte or the entry or the
    // whole file would pass the format's size limits.
    bool SetMany(const SettingsEntries& entries);
    // Every key and value held.
    const SettingsMap& Values() const { return values_; }
    // The storage's name for the player and the log (a desktop's path).
    const std::string& Name() const { return storage_->Name(); }
    // False when the store refuses writes to protect a text it could not read or set aside.
    bool Writable() const { return writable_; }
    // What a player should be told about the text found at start-up (kept aside, left alone),
    // in a sentence or two; empty when it was read, or missing.
    const std::string& Problem() const { return problem_; }

    // A view whose keys are stored as `prefix + key`. The store must outlive its views.
    std::unique_ptr<SettingsView> View(std::string prefix);

private:
    enum class StoredState { kRead, kMissing, kCorrupt, kUnreadable };
    StoredState ReadStored(SettingsMap* out, std::string* why) const;
    // The locked read-merge-write behind SetMany; false (values unchanged) when it fails.
    bool SaveMany(const SettingsEntries& entries);
    bool KeepAside(const std::string& why);
    void LogFailure(const std::string& line);
    void Log(const std::string& line) const;

    std::unique_ptr<TextStorage> storage_;
    SettingsLog log_;
    SettingsMap values_;
    SettingsMap unsaved_;  // values a failed write left in memory only
    bool writable_ = true;
    bool failureLogged_ = false;
    std::string problem_;
};

// One namespace of a StoredSettings as the host contract's store. Release() does not free the
// view (its owner does); it calls the release hook, which the shell uses to count references.
class SettingsView final : public host::SettingsStore {
public:
    SettingsView(StoredSettings* file, std::string prefix);

    // Stores `value` under prefix + key. 0 on success, 1 on failure (null arguments included).
    int32_t WriteString(const char* key, const char* value) override;
    // Copies at most 255 bytes of the value and a NUL into `out` and returns 0; returns
    // host::kSettingsKeyAbsent, leaving `out` untouched, for an absent (or null) key.
    int32_t ReadString(const char* key, char* out) override;
    void Release() override;

    // Stores several values under the prefix in one atomic write (see StoredSettings::SetMany).
    bool WriteMany(const SettingsEntries& entries);
    void SetReleaseHook(std::function<void()> hook) { releaseHook_ = std::move(hook); }
    const std::string& Prefix() const { return prefix_; }

private:
    StoredSettings* file_;
    std::string prefix_;
    std::function<void()> releaseHook_;
};

}  // namespace shell
