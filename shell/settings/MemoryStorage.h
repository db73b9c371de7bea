// Stored text held in memory: for tests, and for a host that keeps nothing between runs. Its
// `failWrites` and `failAside` switches play a full disk or a read-only folder.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "shell/settings/TextStorage.h"

namespace shell {

// What a MemoryStorage holds; shared, so that a test can look at it (and set it up) while the
// storage is in use, and so that two storages can share one text and one lock.
struct MemoryText {
    std::optional<std::string> text;         // empty: nothing stored
    std::map<std::string, std::string> aside;  // texts set aside, by the name they were given
    bool locked = false;
    bool failWrites = false;  // Write refuses ("no space left")
    bool failAside = false;   // SetAside and Remove refuse ("read-only")
    bool failReads = false;   // Read fails ("cannot be read")
    int writes = 0;           // successful writes
};

class MemoryStorage : public TextStorage {
public:
    explicit MemoryStorage(std::shared_ptr<MemoryText> held = std::make_shared<MemoryText>(),
                           std::string name = "memory");
    ~MemoryStorage() override;

    ReadResult Read(size_t limit, std::string* text, std::string* why) override;
    bool Write(const std::string& text, std::string* why) override;
    bool SetAside(const std::string& tag, std::string* aside, std::string* why) override;
    bool Remove(std::string* why) override;
    bool Lock(bool wait, std::string* why) override;
    void Unlock() override;
    bool Locked() const override { return mine_; }
    const std::string& Name() const override { return name_; }

    MemoryText& Held() { return *held_; }

private:
    std::shared_ptr<MemoryText> held_;
    std::string name_;
    bool mine_ = false;  // this storage holds the lock
};

}  // namespace shell
