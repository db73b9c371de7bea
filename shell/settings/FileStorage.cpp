// Stored text in a file.
#include "shell/settings/FileStorage.h"
#include "shell/settings/FileDescriptor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>

namespace shell {

namespace {

using Fd = FileDescriptor;

constexpr std::string_view kTemporaryInfix = ".tmp-";

}  // namespace

FileStorage::FileStorage(std::string path) : path_(std::move(path)) { RemoveStaleTemporaries(); }

std::unique_ptr<TextStorage> FileStorage::Open(const std::string& path) {
    return std::make_unique<FileStorage>(path);
}

TextStorage::ReadResult FileStorage::Read(size_t limit, std::string* text, std::string* why) {
    // Not blocking: a pipe put where the file should be must not hang the program.
    Fd fd(::open(path_.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0) {
        if (errno == ENOENT) return ReadResult::kMissing;
        *why = std::strerror(errno);
        return ReadResult::kFailed;
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) {
        *why = std::strerror(errno);
        return ReadResult::kFailed;
    }
    if (!S_ISREG(info.st_mode)) {
        *why = "not a regular file";
        return ReadResult::kNotText;
    }
    if (static_cast<uint64_t>(info.st_size) > limit) return ReadResult::kTooLarge;
    std::string read;
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            *why = std::strerror(errno);
            return ReadResult::kFailed;
        }
        if (n == 0) break;
        read.append(buffer, static_cast<size_t>(n));
        if (read.size() > limit) return ReadResult::kTooLarge;  // it grew while being read
    }
    *text = std::move(read);
    return ReadResult::kRead;
}

bool FileStorage::Write(const std::string& text, std::string* why) {
    return WriteFileAtomically(path_, text, why);
}

bool FileStorage::SetAside(const std::string& tag, std::string* aside, std::string* why) {
    aside->clear();
    if (MoveFileAside(path_, tag, aside)) return true;
    if (errno == ENOENT) return true;
    *why = std::strerror(errno);
    return false;
}

bool FileStorage::Remove(std::string* why) {
    if (::unlink(path_.c_str()) == 0 || errno == ENOENT) return true;
    *why = std::strerror(errno);
    return false;
}

bool FileStorage::Lock(bool wait, std::string* why) {
    if (lock_.Held()) return true;
    errno = 0;
    if (lock_.Take(path_ + ".lock", wait)) return true;
    *why = errno == EWOULDBLOCK || errno == 0 ? std::string("held by another copy of the program")
                                              : std::string(std::strerror(errno));
    return false;
}

void FileStorage::RemoveStaleTemporaries() const {
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

}  // namespace shell
