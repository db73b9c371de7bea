// Site, random source and settings forwarding.
#include "shell/core/HostSite.h"

#include <cstring>

#include "shell/core/Trace.h"

namespace shell {

HostSite::HostSite(ObjectSpace& space, uint64_t seed)
    : HostObject(space, "AppletSite", {}, /*siteOwned=*/true) {
    Reseed(seed);
}

void HostSite::Reseed(uint64_t seed) {
    std::seed_seq sequence{static_cast<uint32_t>(seed), static_cast<uint32_t>(seed >> 32)};
    random_.seed(sequence);
}

uint32_t HostSite::Random() {
    const uint32_t value = static_cast<uint32_t>(random_());
    TraceCall(this, "Random", value);
    return value;
}

HostSettings::HostSettings(ObjectSpace& space, host::SettingsStore* store)
    : HostObject(space, "SettingsStore", {}, /*siteOwned=*/true), store_(store) {}

int32_t HostSettings::WriteString(const char* key, const char* value) {
    TraceCall(this, "WriteString", key, value);
    return store_ != nullptr ? store_->WriteString(key, value) : 1;
}

int32_t HostSettings::ReadString(const char* key, char* out) {
    TraceCall(this, "ReadString", key);
    return store_ != nullptr ? store_->ReadString(key, out) : host::kSettingsKeyAbsent;
}

int32_t MemorySettings::WriteString(const char* key, const char* value) {
    if (key == nullptr || value == nullptr) return 1;
    values[key] = value;
    return 0;
}

int32_t MemorySettings::ReadString(const char* key, char* out) {
    if (key == nullptr) return host::kSettingsKeyAbsent;
    auto it = values.find(key);
    if (it == values.end()) return host::kSettingsKeyAbsent;
    if (out != nullptr) {
        const size_t n = std::min(it->second.size(), size_t{host::kSettingsValueCapacity - 1});
        std::memcpy(out, it->second.data(), n);
        out[n] = '\0';
    }
    return 0;
}

}  // namespace shell
