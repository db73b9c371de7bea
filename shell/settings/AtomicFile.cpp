// Atomic replacement, keeping files aside, and lock files.
#include "shell/settings/AtomicFile.h"
#include "shell/settings/FileDescriptor.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

namespace shell {

namespace {

using Fd = FileDescriptor;

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

}  // namespace

std::string DirectoryOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

bool WriteFileAtomically(const std::string& path, const std::string& text, std::string* why) {
    std::string temporary = path + ".tmp-XXXXXX";
    Fd fd(::mkostemp(temporary.data(), O_CLOEXEC));
    if (fd.get() < 0) {
        *why = std::strerror(errno);
        return false;
    }
    auto fail = [&](int error) {
        *why = std::strerror(error);
        ::unlink(temporary.c_str());
        return false;
    };
    if (!WriteAll(fd.get(), text)) return fail(errno);
    if (::fsync(fd.get()) != 0) return fail(errno);
    if (::close(fd.release()) != 0) return fail(errno);
    if (::rename(temporary.c_str(), path.c_str()) != 0) return fail(errno);
    // Make the rename itself durable; the new file is already in place if this fails.
    Fd directory(::open(DirectoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.get() >= 0) ::fsync(directory.get());
    return true;
}

bool MoveFileAside(const std::string& path, const std::string& tag, std::string* aside) {
    const std::string base = path + "." + tag + "-" + UtcStamp();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = attempt == 0 ? base : base + "-" + std::to_string(attempt);
        struct stat info {};
        if (::lstat(name.c_str(), &info) == 0) continue;
        if (::rename(path.c_str(), name.c_str()) != 0) return false;
        *aside = name;
        return true;
    }
    errno = EEXIST;
    return false;
}

FileLock::~FileLock() { Give(); }

bool FileLock::Take(const std::string& path, bool wait) {
    Give();
    Fd fd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (fd.get() < 0) return false;
    int result = 0;
    while ((result = ::flock(fd.get(), LOCK_EX | (wait ? 0 : LOCK_NB))) != 0 && errno == EINTR) {
    }
    if (result != 0) return false;
    fd_ = fd.release();
    return true;
}

void FileLock::Give() {
    if (fd_ < 0) return;
    ::close(fd_);  // closing the descriptor lets the lock go
    fd_ = -1;
}

}  // namespace shell
