// Where a piece of stored text lives (the settings, a kept game): read whole, written whole and
// atomically, set aside when it is damaged, removed, and guarded by a single-writer lock. The
// logic over it (formats, merging, what the player is told) is the same on every host; a
// desktop keeps the text in files (FileStorage), a web page in its browser's storage, tests in
// memory (MemoryStorage).
#pragma once

#include <cstddef>
#include <string>

namespace shell {

class TextStorage {
public:
    virtual ~TextStorage() = default;

    enum class ReadResult {
        kRead,       // *text holds the whole text
        kMissing,    // nothing is stored yet
        kTooLarge,   // more than the limit is stored; nothing read
        kNotText,    // something is there that is not stored text (a folder, say); *why says
        kFailed,     // it is there but cannot be read; *why says
    };
    // Reads the whole text, when it is at most `limit` bytes.
    virtual ReadResult Read(size_t limit, std::string* text, std::string* why) = 0;
    // Replaces the text with `text`: afterwards the old text or the new one is stored, never a
    // part of either. False, with the reason, when it could not be done.
    virtual bool Write(const std::string& text, std::string* why) = 0;
    // Moves the stored text out of the way, under a name made of `tag` and the time, which goes
    // to *aside. True with *aside empty when there was nothing left to move (another copy of
    // the program moved it first); false, with the reason, when it stays where it is.
    virtual bool SetAside(const std::string& tag, std::string* aside, std::string* why) = 0;
    // Nothing is stored any more. True when nothing was stored to begin with.
    virtual bool Remove(std::string* why) = 0;
    // Takes the single-writer lock, held until Unlock or until this storage goes: waits for it,
    // or with `wait` false gives up at once. False, with the reason, when another holds it or
    // it cannot be had at all.
    virtual bool Lock(bool wait, std::string* why) = 0;
    virtual void Unlock() = 0;
    virtual bool Locked() const = 0;
    // How the text is named to the player and in the log: a path, a storage key.
    virtual const std::string& Name() const = 0;
};

}  // namespace shell
