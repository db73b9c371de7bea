// The shell's own remembered options (sound, volume, symbols on the bubbles), kept in their own
// namespace of the settings store and applied to the host as they change.
#pragma once

#include <map>
#include <string>

#include "host/Services.h"

namespace shell {

class Host;

struct ShellPrefs {
    bool muted = false;
    int volume = 100;  // per cent
    bool symbols = false;

    static constexpr const char* kPrefix = "Shell.";
    // Reads what `store` holds; values missing or out of range keep the defaults.
    void Load(host::SettingsStore* store);
    void Save(host::SettingsStore* store) const;
};

// The pictures the bubbles are drawn from when symbols are asked for.
std::map<std::string, std::string> SymbolSubstitutes();

class Prefs {
public:
    // Loads the options from `store` (may be null: nothing is remembered) and applies them.
    Prefs(Host& host, host::SettingsStore* store);

    const ShellPrefs& Values() const { return values_; }
    void SetMuted(bool muted);
    void SetVolume(int percent);
    // Pictures already made keep their look: the bubbles change with the next game.
    void SetSymbols(bool on);

private:
    Host& host_;
    host::SettingsStore* store_;
    ShellPrefs values_;
};

}  // namespace shell
