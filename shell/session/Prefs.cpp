// Remembered options.
#include "shell/session/Prefs.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "host/GameLook.h"
#include "shell/core/Host.h"
#include "shell/core/LiveFrames.h"

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

// The window's place as one value, "x,y,width,height", so it is written in one go.
constexpr int kLargestWindowSide = 32768;

std::string WindowText(const WindowPlace& w) {
    return std::to_string(w.x) + "," + std::to_string(w.y) + "," + std::to_string(w.width) + "," +
           std::to_string(w.height);
}

WindowPlace ReadWindow(host::SettingsStore* store) {
    char buffer[host::kSettingsValueCapacity] = {0};
    WindowPlace w;
    if (store == nullptr || store->ReadString("Window", buffer) != 0) return w;
    long v[4] = {0, 0, 0, 0};
    const char* at = buffer;
    for (int i = 0; i < 4; ++i) {
        char* end = nullptr;
        v[i] = std::strtol(at, &end, 10);
        if (end == at || std::labs(v[i]) > kLargestWindowSide) return {};
        if (*end != (i < 3 ? ',' : '\0')) return {};
        at = end + 1;
    }
    if (v[2] <= 0 || v[3] <= 0) return {};
    return {static_cast<int>(v[0]), static_cast<int>(v[1]), static_cast<int>(v[2]),
            static_cast<int>(v[3])};
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
    relaxed = ReadInt(store, "Relaxed", relaxed ? 1 : 0, 0, 1) != 0;
    pixelPerfect = ReadInt(store, "PixelPerfect", pixelPerfect ? 1 : 0, 0, 1) != 0;
    window = ReadWindow(store);
}

void ShellPrefs::Save(host::SettingsStore* store) const {
    if (store == nullptr) return;
    store->WriteString("Muted", muted ? "1" : "0");
    store->WriteString("Volume", std::to_string(volume).c_str());
    store->WriteString("Symbols", symbols ? "1" : "0");
    store->WriteString("Relaxed", relaxed ? "1" : "0");
    store->WriteString("PixelPerfect", pixelPerfect ? "1" : "0");
    if (window.Known()) store->WriteString("Window", WindowText(window).c_str());
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

void Prefs::Write(const char* key, const std::string& value) {
    if (store_ != nullptr) store_->WriteString(key, value.c_str());
}

void Prefs::SetMuted(bool muted) {
    values_.muted = muted;
    host_.Sounds().SetMuted(muted);
    Write("Muted", muted ? "1" : "0");
}

void Prefs::SetVolume(int percent) {
    values_.volume = std::clamp(percent, 0, 100);
    host_.Sounds().SetVolume(values_.volume);
    Write("Volume", std::to_string(values_.volume));
}

void Prefs::SetSymbols(bool on) {
    values_.symbols = on;
    host_.Images().SetSubstitutes(on ? SymbolSubstitutes() : std::map<std::string, std::string>{});
    RepictureLiveFrames(host_.Space(), host_.Images());
    Write("Symbols", on ? "1" : "0");
}

void Prefs::SetRelaxed(bool on) {
    values_.relaxed = on;
    Write("Relaxed", on ? "1" : "0");
}

void Prefs::SetPixelPerfect(bool on) {
    values_.pixelPerfect = on;
    Write("PixelPerfect", on ? "1" : "0");
}

void Prefs::SetWindow(const WindowPlace& place) {
    if (!place.Known()) return;
    values_.window = place;
    Write("Window", WindowText(place));
}

}  // namespace shell
