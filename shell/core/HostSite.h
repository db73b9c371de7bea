// The site handed to Shell_StartApplet, the settings store as the applet sees it, and a
// store kept in memory for runs that must not touch the player's file.
#pragma once

#include <cstdint>
#include <map>
#include <random>
#include <string>

#include "host/Services.h"
#include "shell/core/ObjectBase.h"

namespace shell {

class HostSite : public HostObject<host::AppletSite> {
public:
    HostSite(ObjectSpace& space, uint64_t seed);
    uint32_t Random() override;
    void Reseed(uint64_t seed);

private:
    std::mt19937 random_;
};

// Forwards to the real store, with the trace and the ledger's site-object check.
class HostSettings : public HostObject<host::SettingsStore> {
public:
    HostSettings(ObjectSpace& space, host::SettingsStore* store);
    int32_t WriteString(const char* key, const char* value) override;
    int32_t ReadString(const char* key, char* out) override;
    // Where the values go from now on (a replay runs on a copy of the stored values).
    void SetStore(host::SettingsStore* store) { store_ = store; }
    host::SettingsStore* Store() const { return store_; }

private:
    host::SettingsStore* store_;
};

class MemorySettings : public host::SettingsStore {
public:
    int32_t WriteString(const char* key, const char* value) override;
    int32_t ReadString(const char* key, char* out) override;
    void Release() override {}
    std::map<std::string, std::string> values;
};

}  // namespace shell
