// Font files come from fontconfig; real bold and italic files are used when the family has
// them, and SDL_ttf's synthetic styles only when it does not.
#include "shell/core/FontCache.h"

#include <SDL_ttf.h>

#include <algorithm>

#include "host/Object.h"
#include "shell/core/Log.h"

namespace shell {

namespace {
constexpr int32_t kMinSize = 1;
constexpr int32_t kMaxSize = 400;
}  // namespace

FontCache::FontCache() {
    ready_ = TTF_Init() == 0;  // counted: every cache pairs it with one TTF_Quit
    if (!ready_) Log("text cannot be drawn: %s", TTF_GetError());
}

FontCache::~FontCache() {
    if (prefetch_.valid()) prefetch_.wait();
    for (auto& [key, font] : fonts_) {
        if (font != nullptr) TTF_CloseFont(font);
    }
    if (ready_) TTF_Quit();
}

void FontCache::Prefetch(const std::string& face) {
    if (prefetch_.valid()) return;
    prefetch_ = std::async(std::launch::async, [this, face] {
        for (int s = 0; s < 4; ++s) Resolve(face, (s & 1) != 0, (s & 2) != 0);
    });
}

std::optional<media::FontMatch> FontCache::Resolve(const std::string& face, bool bold,
                                                   bool italic) {
    const auto key = std::make_tuple(face, bold, italic);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto it = matches_.find(key);
        if (it != matches_.end()) return it->second;
    }
    std::optional<media::FontMatch> match = media::FindFont(face, bold, italic);
    std::lock_guard<std::mutex> lock(mutex_);
    matches_.emplace(key, match);
    return match;
}

TTF_Font* FontCache::Get(const std::string& face, int32_t size, int32_t style) {
    if (!ready_) return nullptr;
    size = std::clamp(size, kMinSize, kMaxSize);
    style &= host::kStyleBold | host::kStyleItalic | host::kStyleUnderline;
    const auto key = std::make_tuple(face, size, style);
    auto it = fonts_.find(key);
    if (it != fonts_.end()) return it->second;

    if (prefetch_.valid()) prefetch_.wait();
    const bool bold = (style & host::kStyleBold) != 0;
    const bool italic = (style & host::kStyleItalic) != 0;
    const std::optional<media::FontMatch> match = Resolve(face, bold, italic);
    TTF_Font* font = nullptr;
    if (!match) {
        if (!reported_[face]) Log("no font file found for \"%s\": its text is not drawn", face.c_str());
    } else {
        if (!reported_[face] && !match->metricCompatible) {
            Log("font \"%s\" is drawn with \"%s\", which does not share its metrics",
                face.c_str(), match->family.c_str());
        }
        // SDL_ttf sizes are points at 72 dpi: the size is the em in pixels.
        font = TTF_OpenFontDPI(match->file.c_str(), size, 72, 72);
        if (font == nullptr) {
            Log("cannot open font file %s: %s", match->file.c_str(), TTF_GetError());
        } else {
            int ttfStyle = TTF_STYLE_NORMAL;
            if (bold && !match->bold) ttfStyle |= TTF_STYLE_BOLD;
            if (italic && !match->italic) ttfStyle |= TTF_STYLE_ITALIC;
            if ((style & host::kStyleUnderline) != 0) ttfStyle |= TTF_STYLE_UNDERLINE;
            TTF_SetFontStyle(font, ttfStyle);
        }
    }
    reported_[face] = true;
    fonts_.emplace(key, font);
    return font;
}

void FontCache::Measure(const std::string& face, int32_t size, int32_t style,
                        const std::string& text, int32_t* width, int32_t* height) {
    TTF_Font* font = Get(face, size, style);
    int w = 0, h = std::clamp(size, kMinSize, kMaxSize);
    if (font != nullptr) {
        h = TTF_FontHeight(font);
        if (!text.empty() && TTF_SizeText(font, text.c_str(), &w, nullptr) != 0) w = 0;
    }
    if (width != nullptr) *width = w;
    if (height != nullptr) *height = h;
}

Rect FontCache::Draw(Pixmap& target, const std::string& face, int32_t size, int32_t style,
                     const std::string& text, int x, int y, uint8_t r, uint8_t g, uint8_t b) {
    if (text.empty()) return {};
    TTF_Font* font = Get(face, size, style);
    if (font == nullptr) return {};
    SDL_Surface* rendered = TTF_RenderText_Blended(font, text.c_str(), SDL_Color{r, g, b, 255});
    if (rendered == nullptr) return {};
    if (rendered->format->format != SDL_PIXELFORMAT_ARGB8888) {
        SDL_Surface* converted = SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0);
        SDL_FreeSurface(rendered);
        rendered = converted;
        if (rendered == nullptr) return {};
    }
    Rect touched;
    if (SDL_LockSurface(rendered) == 0) {
        touched = target.BlendRaw(static_cast<const uint32_t*>(rendered->pixels), rendered->pitch,
                                  rendered->w, rendered->h, x, y);
        SDL_UnlockSurface(rendered);
    }
    SDL_FreeSurface(rendered);
    return touched;
}

}  // namespace shell
