// Files written whole or not at all, files kept aside instead of destroyed, and advisory locks:
// what the settings file and the kept game share.
#pragma once

#include <string>

namespace shell {

// Replaces `path` with `text` atomically: a temporary file in the same directory
// ("<path>.tmp-XXXXXX"), written, flushed to disk, renamed over `path`, and the directory
// flushed. A crash at any moment leaves the old file or the new one. False with the reason.
bool WriteFileAtomically(const std::string& path, const std::string& text, std::string* why);

// Renames `path` to "<path>.<tag>-<UTC time>" (a number added when that is taken). The name
// used goes to *aside. False with errno set when the rename failed; ENOENT means the file was
// already gone.
bool MoveFileAside(const std::string& path, const std::string& tag, std::string* aside);

// The folder of a path ("." for a bare name).
std::string DirectoryOf(const std::string& path);

// An exclusive advisory lock (flock) on a lock file, held until this object goes.
class FileLock {
public:
    FileLock() = default;
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Takes the lock on `path` (made when missing): waits for it, or with `wait` false gives
    // up at once. False when it is held elsewhere or the file cannot be made.
    bool Take(const std::string& path, bool wait);
    void Give();
    bool Held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

}  // namespace shell
