// The settings over any storage: loading, keeping unreadable texts aside, and locked
// read-merge-write replacement, so concurrent shells merge rather than overwrite each other.
#include "shell/settings/StoredSettings.h"

#include <algorithm>
#include <cstring>

namespace shell {

namespace {

bool Storable(const SettingsEntries& entries) {
    for (const auto& [key, value] : entries) {
        if (key.find('\0') != std::string::npos || value.find('\0') != std::string::npos ||
            SerializedLineBytes(key, value) > kSettingsMaxLineBytes) {
            return false;
        }
    }
    return true;
}

}  // namespace

// ---- construction -------------------------------------------------------------------------

StoredSettings::StoredSettings(std::unique_ptr<TextStorage> storage, SettingsLog log)
    : storage_(std::move(storage)), log_(std::move(log)) {
    std::string why;
    switch (ReadStored(&values_, &why)) {
    case StoredState::kRead:
    case StoredState::kMissing:
        break;
    case StoredState::kCorrupt:
        values_.clear();
        KeepAside(why);
        break;
    case StoredState::kUnreadable:
        values_.clear();
        writable_ = false;
        Log("settings: cannot read " + Name() + " (" + why +
            "); starting with empty settings, which will not be saved");
        problem_ = "The settings file " + Name() + " cannot be read (" + why +
                   "). It is left as it is; the game starts with fresh settings, which will "
                   "not be saved.";
        break;
    }
}

std::unique_ptr<SettingsView> StoredSettings::View(std::string prefix) {
    return std::make_unique<SettingsView>(this, std::move(prefix));
}

// ---- reading and writing ------------------------------------------------------------------

std::optional<std::string> StoredSettings::Get(std::string_view key) const {
    auto found = values_.find(std::string(key));
    if (found == values_.end()) return std::nullopt;
    return found->second;
}

bool StoredSettings::Set(const std::string& key, const std::string& value) {
    return SetMany({{key, value}});
}

bool StoredSettings::SetMany(const SettingsEntries& entries) {
    if (!Storable(entries)) {
        LogFailure("settings: refused to save a key or value that is too long or holds NUL");
        return false;
    }
    if (SaveMany(entries)) return true;
    // The storage said no: the game goes on with what the player did, so a new high score
    // still shows on the next title screen. The stored text keeps its old state until a later
    // write gets through, which then saves these values too.
    for (const auto& [key, value] : entries) {
        values_[key] = value;
        unsaved_[key] = value;
    }
    return false;
}

bool StoredSettings::SaveMany(const SettingsEntries& entries) {
    if (!writable_) {
        LogFailure("settings: not saved: " + Name() + " could not be read or kept aside");
        return false;
    }

    // Serialise with other writers; without a lock (a read-only folder) the write below fails
    // anyway.
    std::string unused;
    storage_->Lock(/*wait=*/true, &unused);
    struct Unlock {
        TextStorage& storage;
        ~Unlock() { storage.Unlock(); }
    } unlock{*storage_};

    SettingsMap merged;
    std::string why;
    switch (ReadStored(&merged, &why)) {
    case StoredState::kRead:
    case StoredState::kMissing:
        break;
    case StoredState::kCorrupt:
        // Someone left a broken text since we read it: keep it, and build on what we hold.
        if (!KeepAside(why)) return false;
        merged = values_;
        break;
    case StoredState::kUnreadable:
        LogFailure("settings: not saved: cannot read " + Name() + " (" + why + ")");
        return false;
    }
    for (const auto& [key, value] : unsaved_) merged[key] = value;
    for (const auto& [key, value] : entries) merged[key] = value;

    std::string text = SerializeSettings(merged);
    if (text.size() > kSettingsMaxFileBytes) {
        LogFailure("settings: not saved: the settings would pass " +
                   std::to_string(kSettingsMaxFileBytes >> 20) + " MiB");
        return false;
    }
    if (!storage_->Write(text, &why)) {
        LogFailure("settings: cannot save to " + Name() + ": " + why +
                   " (the game goes on; settings are not saved, further failures not logged)");
        return false;
    }
    values_ = std::move(merged);
    unsaved_.clear();
    failureLogged_ = false;
    return true;
}

StoredSettings::StoredState StoredSettings::ReadStored(SettingsMap* out,
                                                      std::string* why) const {
    out->clear();
    std::string text;
    switch (storage_->Read(kSettingsMaxFileBytes, &text, why)) {
    case TextStorage::ReadResult::kRead:
        break;
    case TextStorage::ReadResult::kMissing:
        return StoredState::kMissing;
    case TextStorage::ReadResult::kTooLarge:
        *why = "the file is too large";
        return StoredState::kCorrupt;
    case TextStorage::ReadResult::kNotText:
    case TextStorage::ReadResult::kFailed:
        return StoredState::kUnreadable;
    }
    if (!ParseSettings(text, out, why)) return StoredState::kCorrupt;
    return StoredState::kRead;
}

bool StoredSettings::KeepAside(const std::string& why) {
    std::string aside, failure;
    if (storage_->SetAside("corrupt", &aside, &failure)) {
        if (aside.empty()) return true;  // another shell set it aside first
        Log("settings: " + Name() + " could not be read (" + why + "); kept as " + aside +
            "; starting with empty settings");
        problem_ = "The settings file could not be read. It was kept as " + aside +
                   ", and the game starts with fresh settings.";
        return true;
    }
    writable_ = false;
    Log("settings: " + Name() + " could not be read (" + why + ") nor kept aside (" + failure +
        "); starting with empty settings, which will not be saved");
    problem_ = "The settings file " + Name() +
               " could not be read, nor kept aside. It is left as it is; the game starts with "
               "fresh settings, which will not be saved.";
    return false;
}

void StoredSettings::LogFailure(const std::string& line) {
    if (failureLogged_) return;
    failureLogged_ = true;
    Log(line);
}

void StoredSettings::Log(const std::string& line) const {
    if (log_) log_(line);
}

// ---- views --------------------------------------------------------------------------------

SettingsView::SettingsView(StoredSettings* file, std::string prefix)
    : file_(file), prefix_(std::move(prefix)) {}

int32_t SettingsView::WriteString(const char* key, const char* value) {
    if (key == nullptr || value == nullptr) return 1;
    return file_->Set(prefix_ + key, value) ? 0 : 1;
}

int32_t SettingsView::ReadString(const char* key, char* out) {
    if (key == nullptr) return host::kSettingsKeyAbsent;
    std::optional<std::string> value = file_->Get(prefix_ + key);
    if (!value) return host::kSettingsKeyAbsent;
    if (out != nullptr) {
        size_t length = std::min(value->size(), size_t(host::kSettingsValueCapacity - 1));
        std::memcpy(out, value->data(), length);
        out[length] = '\0';
    }
    return 0;
}

void SettingsView::Release() {
    if (releaseHook_) releaseHook_();
}

bool SettingsView::WriteMany(const SettingsEntries& entries) {
    SettingsEntries prefixed;
    prefixed.reserve(entries.size());
    for (const auto& [key, value] : entries) prefixed.emplace_back(prefix_ + key, value);
    return file_->SetMany(prefixed);
}

}  // namespace shell
