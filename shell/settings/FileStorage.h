// Stored text in a file, for a desktop: read whole, replaced atomically (a temporary file in the
// same folder, flushed, renamed over it), set aside by renaming ("<path>.<tag>-<UTC time>"),
// and a single-writer lock on "<path>.lock" (flock), which guards the file between copies of
// the program.
#pragma once

#include <memory>
#include <string>

#include "shell/settings/AtomicFile.h"
#include "shell/settings/TextStorage.h"

namespace shell {

class FileStorage : public TextStorage {
public:
    // Temporary files left at `path` by writers killed more than ten minutes ago are removed.
    explicit FileStorage(std::string path);
    // The same, as a front end hands it to Run (RunSetup::openFile).
    static std::unique_ptr<TextStorage> Open(const std::string& path);

    ReadResult Read(size_t limit, std::string* text, std::string* why) override;
    bool Write(const std::string& text, std::string* why) override;
    bool SetAside(const std::string& tag, std::string* aside, std::string* why) override;
    bool Remove(std::string* why) override;
    bool Lock(bool wait, std::string* why) override;
    void Unlock() override { lock_.Give(); }
    bool Locked() const override { return lock_.Held(); }
    const std::string& Name() const override { return path_; }

private:
    void RemoveStaleTemporaries() const;

    std::string path_;
    FileLock lock_;
};

}  // namespace shell
