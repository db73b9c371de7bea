// The shell's own remembered options (sound, volume, symbols on the bubbles, the relaxed clock,
// how the window scales and where it was), kept in their own namespace of the settings store
// and applied to the host as they change.
#pragma once

#include <map>
#include <string>

#include "host/Services.h"

namespace shell {

class Host;

// Where the window was and how large, in the desktop's coordinates; empty when unknown.
struct WindowPlace {
    int x = 0, y = 0, width = 0, height = 0;
    bool Known() const { return width > 0 && height > 0; }
};

struct ShellPrefs {
    bool muted = false;
    int volume = 100;  // per cent
    bool symbols = false;
    bool relaxed = false;       // the game's clock at half speed, from the next game
    bool pixelPerfect = false;  // the window scales by whole factors only
    WindowPlace window;

    static constexpr const char* kPrefix = "Shell.";
    // Reads what `store` holds; values missing or out of range keep the defaults.
    void Load(host::SettingsStore* store);
    // Writes every value (each Set of Prefs writes only its own).
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
    // Every bubble changes at once, those on the board included.
    void SetSymbols(bool on);
    // Remembered only: the run applies it when the game next starts afresh.
    void SetRelaxed(bool on);
    void SetPixelPerfect(bool on);
    void SetWindow(const WindowPlace& place);

private:
    void Write(const char* key, const std::string& value);

    Host& host_;
    host::SettingsStore* store_;
    ShellPrefs values_;
};

}  // namespace shell
