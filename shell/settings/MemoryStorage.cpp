// Stored text in memory.
#include "shell/settings/MemoryStorage.h"

namespace shell {

MemoryStorage::MemoryStorage(std::shared_ptr<MemoryText> held, std::string name)
    : held_(held ? std::move(held) : std::make_shared<MemoryText>()), name_(std::move(name)) {}

MemoryStorage::~MemoryStorage() { Unlock(); }

TextStorage::ReadResult MemoryStorage::Read(size_t limit, std::string* text, std::string* why) {
    if (!held_->text) return ReadResult::kMissing;
    if (held_->failReads) {
        *why = "cannot be read";
        return ReadResult::kFailed;
    }
    if (held_->text->size() > limit) return ReadResult::kTooLarge;
    *text = *held_->text;
    return ReadResult::kRead;
}

bool MemoryStorage::Write(const std::string& text, std::string* why) {
    if (held_->failWrites) {
        *why = "no space left";
        return false;
    }
    held_->text = text;
    ++held_->writes;
    return true;
}

bool MemoryStorage::SetAside(const std::string& tag, std::string* aside, std::string* why) {
    aside->clear();
    if (!held_->text) return true;
    if (held_->failAside) {
        *why = "read-only";
        return false;
    }
    *aside = name_ + "." + tag + "-" + std::to_string(held_->aside.size() + 1);
    held_->aside[*aside] = std::move(*held_->text);
    held_->text.reset();
    return true;
}

bool MemoryStorage::Remove(std::string* why) {
    if (!held_->text) return true;
    if (held_->failAside) {
        *why = "read-only";
        return false;
    }
    held_->text.reset();
    return true;
}

bool MemoryStorage::Lock(bool /*wait*/, std::string* why) {
    // One thread: a lock held elsewhere is never given back while this one waits.
    if (mine_) return true;
    if (held_->locked) {
        *why = "held by another";
        return false;
    }
    held_->locked = mine_ = true;
    return true;
}

void MemoryStorage::Unlock() {
    if (!mine_) return;
    held_->locked = mine_ = false;
}

}  // namespace shell
