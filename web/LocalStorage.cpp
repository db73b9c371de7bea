// Stored text in localStorage, through the page's storage functions (web/page/WebLibrary.js).
#include "web/LocalStorage.h"

#include <emscripten/html5.h>

#include <vector>

#include "web/WebImports.h"

namespace shell {

namespace {
// What the page's functions report besides a size.
constexpr int kMissing = -1;
constexpr int kRefused = -2;

std::string Reason(int code) {
    return code == kRefused ? "this browser keeps no data for this page"
                            : "the browser's storage for this page is full";
}
}  // namespace

LocalStorage::LocalStorage(std::string key, std::function<void(const std::string&)> onFailure)
    : key_(std::move(key)), onFailure_(std::move(onFailure)) {}

LocalStorage::~LocalStorage() { Unlock(); }

TextStorage::ReadResult LocalStorage::Read(size_t limit, std::string* text, std::string* why) {
    const int size = web_storage_size(key_.c_str());
    // Storage the browser refuses holds nothing this page could read: a fresh start.
    if (size == kMissing || size == kRefused) return ReadResult::kMissing;
    if (size < 0) {
        *why = "the browser's storage cannot be read";
        return ReadResult::kFailed;
    }
    if (static_cast<size_t>(size) > limit) return ReadResult::kTooLarge;
    std::vector<char> bytes(static_cast<size_t>(size) + 1);
    const int got = web_storage_read(key_.c_str(), bytes.data(), size);
    if (got != size) {
        *why = "the browser's storage changed while it was read";
        return ReadResult::kFailed;
    }
    text->assign(bytes.data(), static_cast<size_t>(size));
    return ReadResult::kRead;
}

bool LocalStorage::Write(const std::string& text, std::string* why) {
    const int result = web_storage_write(key_.c_str(), text.data(), static_cast<int>(text.size()));
    if (result == 0) return true;
    *why = Reason(result);
    if (!failed_ && onFailure_) onFailure_(*why);
    failed_ = true;
    return false;
}

bool LocalStorage::SetAside(const std::string& tag, std::string* aside, std::string* why) {
    const std::string name =
        key_ + "." + tag + "-" + std::to_string(static_cast<long long>(emscripten_date_now()));
    const int result = web_storage_move(key_.c_str(), name.c_str());
    if (result == kMissing) {
        aside->clear();
        return true;
    }
    if (result != 0) {
        *why = Reason(result);
        return false;
    }
    *aside = name;
    return true;
}

bool LocalStorage::Remove(std::string* why) {
    const int result = web_storage_remove(key_.c_str());
    if (result == kRefused) {
        *why = Reason(result);
        return false;
    }
    return true;
}

bool LocalStorage::Lock(bool wait, std::string* why) {
    if (locked_) return true;
    // A tab runs to completion between its waits, so a waiting write within it is never
    // interleaved with another write of this tab; a claim that does not wait must also keep
    // other tabs out for as long as it is held.
    if (!wait) {
        if (web_storage_lock(key_.c_str()) == 0) {
            *why = "the game is open in another tab";
            return false;
        }
        shared_ = true;
    }
    locked_ = true;
    return true;
}

void LocalStorage::Unlock() {
    if (shared_) web_storage_unlock(key_.c_str());
    shared_ = false;
    locked_ = false;
}

}  // namespace shell
