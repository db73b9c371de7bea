// Resource lookup and GIF decoding with a cache.
#include "shell/core/ImageLibrary.h"

#include <strings.h>

#include <cstdio>
#include <cstring>
#include <set>

#include "host/GameLook.h"
#include "shell/core/Log.h"
#include "shell/media/Gif.h"

namespace shell {

namespace {

constexpr int kPlaceholderSize = 32;
constexpr int kZeroDelayMs = 100;

std::string Upper(const char* name) {
    std::string s(name);
    for (char& c : s) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return s;
}

}  // namespace

const host::ResourceEntry* FindResource(const host::ResourceDirectory* directory,
                                        const char* name) {
    if (directory == nullptr || name == nullptr || directory->resources == nullptr) return nullptr;
    const host::ResourceEntry* any = nullptr;
    for (uint32_t i = 0; i < directory->resourceCount; ++i) {
        const host::ResourceEntry& e = directory->resources[i];
        if (e.name == nullptr || e.type != host::kResourceTypeRawData) continue;
        if (strcasecmp(e.name, name) != 0) continue;
        if (e.language == host::kResourceLanguage) return &e;
        if (any == nullptr) any = &e;
    }
    return any;
}

const char* FindString(const host::ResourceDirectory* directory, uint32_t id) {
    if (directory == nullptr || directory->strings == nullptr) return nullptr;
    const char* any = nullptr;
    for (uint32_t i = 0; i < directory->stringCount; ++i) {
        const host::StringEntry& e = directory->strings[i];
        if (e.id != id || e.text == nullptr) continue;
        if (e.language == host::kResourceLanguage) return e.text;
        if (any == nullptr) any = e.text;
    }
    return any;
}

std::shared_ptr<DecodedImage> ImageLibrary::Placeholder(const std::string& name) {
    auto image = std::make_shared<DecodedImage>();
    image->name = name;
    image->placeholder = true;
    auto p = std::make_shared<Pixmap>(kPlaceholderSize, kPlaceholderSize, Argb(40, 0, 40));
    const uint32_t magenta = Argb(255, 0, 255);
    for (int i = 0; i < kPlaceholderSize; ++i) {
        for (int t = -1; t <= 1; ++t) {  // two 3-pixel-wide diagonals
            const int j = i + t;
            if (j < 0 || j >= kPlaceholderSize) continue;
            p->Row(i)[j] = magenta;
            p->Row(i)[kPlaceholderSize - 1 - j] = magenta;
        }
    }
    image->frames.push_back(std::move(p));
    image->delaysMs.push_back(kZeroDelayMs);
    return image;
}

std::shared_ptr<const DecodedImage> ImageLibrary::Decode(const host::ResourceEntry& entry,
                                                         const std::string& name,
                                                         std::string* error) {
    media::GifAnimation gif;
    if (!media::DecodeGif(entry.data, entry.size, &gif, error)) return nullptr;
    auto image = std::make_shared<DecodedImage>();
    image->name = name;
    image->loops = gif.loops;
    for (const media::GifFrame& f : gif.frames) {
        image->frames.push_back(
            std::make_shared<Pixmap>(Pixmap::FromRgba(gif.width, gif.height, f.rgba.data())));
        image->delaysMs.push_back(f.delayCs > 0 ? f.delayCs * 10 : kZeroDelayMs);
    }
    return image;
}

ImageLibrary::Decoded ImageLibrary::DecodeAll(const host::ResourceDirectory* directory) {
    Decoded decoded;
    if (directory == nullptr || directory->resources == nullptr) return decoded;
    std::set<std::string> symbols;
    for (int i = 0; i < 10; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, host::look::kSymbolBubblePictureFormat, i);
        symbols.insert(Upper(name));
    }
    for (uint32_t i = 0; i < directory->resourceCount; ++i) {
        const host::ResourceEntry& e = directory->resources[i];
        if (e.name == nullptr || e.data == nullptr || e.size < 6 ||
            e.type != host::kResourceTypeRawData || std::memcmp(e.data, "GIF8", 4) != 0) {
            continue;
        }
        const std::string upper = Upper(e.name);
        if (symbols.count(upper) != 0) continue;
        std::string error;
        if (auto image = Decode(e, e.name, &error)) decoded.emplace(upper, image);
    }
    return decoded;
}

void ImageLibrary::SetSubstitutes(const std::map<std::string, std::string>& substitutes) {
    substitutes_.clear();
    for (const auto& [from, to] : substitutes) substitutes_[Upper(from.c_str())] = to;
}

std::shared_ptr<const DecodedImage> ImageLibrary::Load(const char* name) {
    std::string asked = name != nullptr ? name : "";
    auto substitute = substitutes_.find(Upper(asked.c_str()));
    if (substitute != substitutes_.end()) asked = substitute->second;
    const std::string key = Upper(asked.c_str());
    if (pending_) {
        const auto pending = std::move(pending_);
        pending_ = nullptr;
        for (auto& [upper, image] : pending()) cache_.emplace(upper, image);
    }
    auto cached = cache_.find(key);
    if (cached != cache_.end()) return cached->second;

    std::shared_ptr<const DecodedImage> result;
    const host::ResourceEntry* entry = FindResource(directory_, asked.c_str());
    if (entry == nullptr || entry->data == nullptr) {
        Log("picture \"%s\" is not among the game's resources; showing a placeholder",
            asked.c_str());
        result = Placeholder(asked);
    } else {
        std::string error;
        result = Decode(*entry, asked, &error);
        if (!result) {
            Log("picture \"%s\" cannot be decoded (%s); showing a placeholder", asked.c_str(),
                error.c_str());
            result = Placeholder(asked);
        }
    }
    cache_.emplace(key, result);
    return result;
}

size_t ImageLibrary::Bytes() const {
    size_t bytes = 0;
    for (const auto& [key, image] : cache_) {
        for (const auto& frame : image->frames) {
            bytes += static_cast<size_t>(frame->Width()) * static_cast<size_t>(frame->Height()) * 4;
        }
    }
    return bytes;
}

}  // namespace shell
