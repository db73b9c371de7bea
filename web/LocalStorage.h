// Stored text in the browser's localStorage, under one key: the page's settings and its kept
// game. Every byte is kept as one character, so any text round-trips. localStorage replaces a
// value whole, which makes every write atomic; the single-writer lock is a key of its own that
// the holding tab keeps fresh (another tab's lock counts until it goes stale), so only one tab
// keeps a game. Storage that is full or refused fails writes with a reason and calls the
// failure hook once, so the page can tell the player.
#pragma once

#include <functional>
#include <string>

#include "shell/settings/TextStorage.h"

namespace shell {

class LocalStorage : public TextStorage {
public:
    // `key` names the value in localStorage; `onFailure` runs (once per storage) on the first
    // write that fails, with the reason.
    explicit LocalStorage(std::string key, std::function<void(const std::string&)> onFailure = {});
    ~LocalStorage() override;

    ReadResult Read(size_t limit, std::string* text, std::string* why) override;
    bool Write(const std::string& text, std::string* why) override;
    bool SetAside(const std::string& tag, std::string* aside, std::string* why) override;
    bool Remove(std::string* why) override;
    bool Lock(bool wait, std::string* why) override;
    void Unlock() override;
    bool Locked() const override { return locked_; }
    const std::string& Name() const override { return key_; }

private:
    std::string key_;
    std::function<void(const std::string&)> onFailure_;
    bool failed_ = false;
    bool locked_ = false;
    bool shared_ = false;  // the lock other tabs see is held (a non-waiting claim)
};

}  // namespace shell
