// The settings file on disk: loading, keeping unreadable files aside, and atomic replacement
// under an advisory lock so concurrent shells merge rather than overwrite each other.
#include "shell/settings/SettingsFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>

namespace shell {
namespace {

std::string ErrnoText(int error) { return std::strerror(error); }

// Closes a descriptor when it goes out of scope.
class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    int release() {
        int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_;
};

std::string DirectoryOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string UtcStamp() {
    std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%dT%H%M%SZ", &utc);
    return text;
}

bool WriteAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

constexpr std::string_view kTemporaryInfix = ".tmp-";

}  // namespace

// ---- construction -------------------------------------------------------------------------

SettingsFile::SettingsFile(std::string path, SettingsLog log)
    : path_(std::move(path)), log_(std::move(log)) {
    RemoveStaleTemporaries();
    std::string why;
    switch (ReadDisk(&values_, &why)) {
    case DiskState::kRead:
    case DiskState::kMissing:
        break;
    case DiskState::kCorrupt:
        values_.clear();
        KeepAside(why);
        break;
    case DiskState::kUnreadable:
        values_.clear();
        writable_ = false;
        Log("settings: cannot read " + path_ + " (" + why +
            "); starting with empty settings, which will not be saved");
        problem_ = "The settings file " + path_ + " cannot be read (" + why +
                   "). It is left as it is; the game starts with fresh settings, which will "
                   "not be saved.";
        break;
    }
}

std::unique_ptr<SettingsView> SettingsFile::View(std::string prefix) {
    return std::make_unique<SettingsView>(this, std::move(prefix));
}

// ---- reading and writing ------------------------------------------------------------------

std::optional<std::string> SettingsFile::Get(std::string_view key) const {
    auto found = values_.find(std::string(key));
    if (found == values_.end()) return std::nullopt;
    return found->second;
}

bool SettingsFile::Set(const std::string& key, const std::string& value) {
    return SetMany({{key, value}});
}

bool SettingsFile::SetMany(const SettingsEntries& entries) {
    for (const auto& [key, value] : entries) {
        if (key.find('\0') != std::string::npos || value.find('\0') != std::string::npos ||
            SerializedLineBytes(key, value) > kSettingsMaxLineBytes) {
            LogFailure("settings: refused to save a key or value that is too long or holds NUL");
            return false;
        }
    }
    if (SaveMany(entries)) return true;
    // The disk said no: the game goes on with what the player did, for this session only,
    // so a new high score still shows on the next title screen. The file keeps its old state.
    for (const auto& [key, value] : entries) values_[key] = value;
    return false;
}

bool SettingsFile::SaveMany(const SettingsEntries& entries) {
    if (!writable_) {
        LogFailure("settings: not saved: " + path_ + " could not be read or kept aside");
        return false;
    }
    for (const auto& [key, value] : entries) {
        if (key.find('\0') != std::string::npos || value.find('\0') != std::string::npos ||
            SerializedLineBytes(key, value) > kSettingsMaxLineBytes) {
            LogFailure("settings: refused to save a key or value that is too long or holds NUL");
            return false;
        }
    }

    // Serialise with other writers; without a lock file (read-only directory) the write below
    // fails anyway.
    Fd lock(::open((path_ + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (lock.get() >= 0) {
        while (::flock(lock.get(), LOCK_EX) != 0 && errno == EINTR) {
        }
    }

    SettingsMap merged;
    std::string why;
    switch (ReadDisk(&merged, &why)) {
    case DiskState::kRead:
    case DiskState::kMissing:
        break;
    case DiskState::kCorrupt:
        // Someone left a broken file since we read it: keep it, and build on what we hold.
        if (!KeepAside(why)) return false;
        merged = values_;
        break;
    case DiskState::kUnreadable:
        LogFailure("settings: not saved: cannot read " + path_ + " (" + why + ")");
        return false;
    }
    for (const auto& [key, value] : entries) merged[key] = value;

    std::string text = SerializeSettings(merged);
    if (text.size() > kSettingsMaxFileBytes) {
        LogFailure("settings: not saved: the settings would pass " +
                   std::to_string(kSettingsMaxFileBytes >> 20) + " MiB");
        return false;
    }
    if (!WriteAtomically(text, &why)) {
        LogFailure("settings: cannot save to " + path_ + ": " + why +
                   " (the game goes on; settings are not saved, further failures not logged)");
        return false;
    }
    values_ = std::move(merged);
    failureLogged_ = false;
    return true;
}

SettingsFile::DiskState SettingsFile::ReadDisk(SettingsMap* out, std::string* why) const {
    out->clear();
    Fd fd(::open(path_.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        if (errno == ENOENT) return DiskState::kMissing;
        *why = ErrnoText(errno);
        return DiskState::kUnreadable;
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) {
        *why = ErrnoText(errno);
        return DiskState::kUnreadable;
    }
    if (!S_ISREG(info.st_mode)) {
        *why = "not a regular file";
        return DiskState::kUnreadable;
    }
    std::string text;
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            *why = ErrnoText(errno);
            return DiskState::kUnreadable;
        }
        if (n == 0) break;
        text.append(buffer, static_cast<size_t>(n));
        if (text.size() > kSettingsMaxFileBytes) {
            *why = "the file is too large";
            return DiskState::kCorrupt;
        }
    }
    if (!ParseSettings(text, out, why)) return DiskState::kCorrupt;
    return DiskState::kRead;
}

bool SettingsFile::KeepAside(const std::string& why) {
    std::string base = path_ + ".corrupt-" + UtcStamp();
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string aside = attempt == 0 ? base : base + "-" + std::to_string(attempt);
        struct stat info {};
        if (::lstat(aside.c_str(), &info) == 0) continue;
        if (::rename(path_.c_str(), aside.c_str()) == 0) {
            Log("settings: " + path_ + " could not be read (" + why + "); kept as " + aside +
                "; starting with empty settings");
            problem_ = "The settings file could not be read. It was kept as " + aside +
                       ", and the game starts with fresh settings.";
            return true;
        }
        if (errno == ENOENT) return true;  // another shell moved it aside first
        writable_ = false;
        Log("settings: " + path_ + " could not be read (" + why + ") nor kept aside (" +
            ErrnoText(errno) + "); starting with empty settings, which will not be saved");
        problem_ = "The settings file " + path_ +
                   " could not be read, nor kept aside. It is left as it is; the game starts "
                   "with fresh settings, which will not be saved.";
        return false;
    }
    writable_ = false;
    Log("settings: " + path_ + " could not be read (" + why +
        ") and no free name was found to keep it aside; settings will not be saved");
    problem_ = "The settings file " + path_ +
               " could not be read, nor kept aside. It is left as it is; the game starts with "
               "fresh settings, which will not be saved.";
    return false;
}

bool SettingsFile::WriteAtomically(const std::string& text, std::string* why) const {
    std::string temporary = path_ + std::string(kTemporaryInfix) + "XXXXXX";
    Fd fd(::mkostemp(temporary.data(), O_CLOEXEC));
    if (fd.get() < 0) {
        *why = ErrnoText(errno);
        return false;
    }
    auto fail = [&](int error) {
        *why = ErrnoText(error);
        ::unlink(temporary.c_str());
        return false;
    };
    if (!WriteAll(fd.get(), text)) return fail(errno);
    if (::fsync(fd.get()) != 0) return fail(errno);
    if (::close(fd.release()) != 0) return fail(errno);
    if (::rename(temporary.c_str(), path_.c_str()) != 0) return fail(errno);
    // Make the rename itself durable; the new file is already in place if this fails.
    Fd directory(::open(DirectoryOf(path_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.get() >= 0) ::fsync(directory.get());
    return true;
}

void SettingsFile::RemoveStaleTemporaries() const {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::path file(path_);
    std::string prefix = file.filename().string() + std::string(kTemporaryInfix);
    fs::directory_iterator it(file.has_parent_path() ? file.parent_path() : fs::path("."), error);
    if (error) return;
    auto cutoff = fs::file_time_type::clock::now() - std::chrono::minutes(10);
    for (; it != fs::directory_iterator(); it.increment(error)) {
        if (error) return;
        std::string name = it->path().filename().string();
        if (name.compare(0, prefix.size(), prefix) != 0) continue;
        auto written = fs::last_write_time(it->path(), error);
        if (!error && written < cutoff) fs::remove(it->path(), error);
    }
}

void SettingsFile::LogFailure(const std::string& line) {
    if (failureLogged_) return;
    failureLogged_ = true;
    Log(line);
}

void SettingsFile::Log(const std::string& line) const {
    if (log_) log_(line);
}

// ---- views --------------------------------------------------------------------------------

SettingsView::SettingsView(SettingsFile* file, std::string prefix)
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
