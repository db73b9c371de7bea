// Remembered options.
#include "shell/session/Prefs.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "host/GameLook.h"
#include "shell/core/Host.h"

namespace shell {

namespace {
int ReadInt(host::SettingsStore* store, const char* key, int fallback, int lo, int hi) {
    char buffer[host::kSettingsValueCapacity] = {0};
    if (store == nullptr || store->ReadString(key, buffer) != 0) return fallback;
    char* end = nullptr;
    const long v = std::strtol(buffer, &end, 10);
    if (end == buffer || *end != '\0' || v < lo || v > hi) return fallback;
    return static_cast<int>(v);
}

std::string PictureName(const char* format, int colour) {
    char name[64];
    std::snprintf(name, sizeof name, format, colour);
    // Resource names are stored upper-case.
    for (char* c = name; *c != '\0'; ++c) {
        if (*c >= 'a' && *c <= 'z') *c = static_cast<char>(*c - 'a' + 'A');
    }
    return name;
}
}  // namespace

void ShellPrefs::Load(host::SettingsStore* store) {
    muted = ReadInt(store, "Muted", muted ? 1 : 0, 0, 1) != 0;
    volume = ReadInt(store, "Volume", volume, 0, 100);
    symbols = ReadInt(store, "Symbols", symbols ? 1 : 0, 0, 1) != 0;
}

void ShellPrefs::Save(host::SettingsStore* store) const {
    if (store == nullptr) return;
    store->WriteString("Muted", muted ? "1" : "0");
    store->WriteString("Volume", std::to_string(volume).c_str());
    store->WriteString("Symbols", symbols ? "1" : "0");
}

std::map<std::string, std::string> SymbolSubstitutes() {
    std::map<std::string, std::string> map;
    for (int i = 0; i < host::look::kBubbleColours; ++i) {
        map[PictureName(host::look::kBubblePictureFormat, i)] =
            PictureName(host::look::kSymbolBubblePictureFormat, i);
    }
    return map;
}

Prefs::Prefs(Host& host, host::SettingsStore* store) : host_(host), store_(store) {
    values_.Load(store_);
    host_.Sounds().SetVolume(values_.volume);
    host_.Sounds().SetMuted(values_.muted);
    if (values_.symbols) host_.Images().SetSubstitutes(SymbolSubstitutes());
}

void Prefs::SetMuted(bool muted) {
    values_.muted = muted;
    host_.Sounds().SetMuted(muted);
    values_.Save(store_);
}

void Prefs::SetVolume(int percent) {
    values_.volume = std::clamp(percent, 0, 100);
    host_.Sounds().SetVolume(values_.volume);
    values_.Save(store_);
}

void Prefs::SetSymbols(bool on) {
    values_.symbols = on;
    host_.Images().SetSubstitutes(on ? SymbolSubstitutes() : std::map<std::string, std::string>{});
    values_.Save(store_);
}

}  // namespace shell
