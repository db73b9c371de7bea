// Font files come from fontconfig; real bold and italic files are used when the family has
// them, and SDL_ttf's synthetic styles only when it does not.
#include "shell/core/FontCache.h"

#include <SDL_ttf.h>
#include <unistd.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

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
    if (memoryChanged_) SaveMemory();
    for (auto& [key, font] : fonts_) {
        if (font != nullptr) TTF_CloseFont(font);
    }
    if (ready_) TTF_Quit();
}

void FontCache::Prefetch(const std::string& face) {
    if (prefetch_.valid()) return;
    prefetch_ = std::async(std::launch::async, [this, face] {
        LoadMemory();
        for (int s = 0; s < 4; ++s) Resolve(face, (s & 1) != 0, (s & 2) != 0);
        if (memoryChanged_) {
            SaveMemory();
            memoryChanged_ = false;
        }
    });
}

// ---- Remembered lookups ------------------------------------------------------------------
//
// One line per lookup: face, bold, italic, file, family, metric-compatible, file bold, file
// italic, file size, file modification time, tab-separated; the first line is a stamp of
// fontconfig's configuration. A changed configuration or a changed font file sends every
// lookup, or that one, back to fontconfig.

namespace {

std::string FileStamp(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return "-";
    return std::to_string(st.st_size) + "/" + std::to_string(st.st_mtim.tv_sec) + "." +
           std::to_string(st.st_mtim.tv_nsec);
}

std::string ConfigStamp() {
    std::string stamp = "v1";
    const char* home = std::getenv("HOME");
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const std::string user = xdg != nullptr && *xdg != '\0' ? std::string(xdg) + "/fontconfig"
                             : home != nullptr            ? std::string(home) + "/.config/fontconfig"
                                                          : std::string();
    for (const std::string& p : {std::string("/etc/fonts/fonts.conf"), std::string("/etc/fonts/conf.d"),
                                 std::string("/etc/fonts/local.conf"), user,
                                 std::string("/usr/share/fonts"), std::string("/usr/local/share/fonts")}) {
        stamp += " " + FileStamp(p);
    }
    const char* env = std::getenv("FONTCONFIG_FILE");
    if (env != nullptr) stamp += std::string(" ") + env;
    return stamp;
}

}  // namespace

std::string FontCache::DefaultMemoryFile() {
    const char* xdg = std::getenv("XDG_CACHE_HOME");
    const char* home = std::getenv("HOME");
    if (xdg != nullptr && *xdg != '\0') return std::string(xdg) + "/spherolette/fonts.txt";
    if (home != nullptr && *home != '\0') return std::string(home) + "/.cache/spherolette/fonts.txt";
    return {};
}

void FontCache::SetMemoryFile(std::string path) { memoryFile_ = std::move(path); }

void FontCache::LoadMemory() {
    if (memoryFile_.empty()) return;
    std::ifstream in(memoryFile_);
    std::string line;
    if (!std::getline(in, line) || line != ConfigStamp()) return;
    std::lock_guard<std::mutex> lock(mutex_);
    while (std::getline(in, line)) {
        std::vector<std::string> f;
        std::istringstream fields(line);
        std::string field;
        while (std::getline(fields, field, '\t')) f.push_back(field);
        if (f.size() != 9 || FileStamp(f[3]) != f[8]) continue;
        media::FontMatch m;
        m.file = f[3];
        m.family = f[4];
        m.metricCompatible = f[5] == "1";
        m.bold = f[6] == "1";
        m.italic = f[7] == "1";
        matches_.emplace(std::make_tuple(f[0], f[1] == "1", f[2] == "1"), m);
    }
}

void FontCache::SaveMemory() {
    if (memoryFile_.empty()) return;
    std::string text = ConfigStamp() + "\n";
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (const auto& [key, match] : matches_) {
            if (!match || std::get<0>(key).find_first_of("\t\n") != std::string::npos) continue;
            text += std::get<0>(key) + "\t" + (std::get<1>(key) ? "1" : "0") + "\t" +
                    (std::get<2>(key) ? "1" : "0") + "\t" + match->file + "\t" + match->family +
                    "\t" + (match->metricCompatible ? "1" : "0") + "\t" + (match->bold ? "1" : "0") +
                    "\t" + (match->italic ? "1" : "0") + "\t" + FileStamp(match->file) + "\n";
        }
    }
    // Written beside and renamed over, so a reader never sees half a file.
    const size_t slash = memoryFile_.rfind('/');
    if (slash != std::string::npos) {
        std::string dir = memoryFile_.substr(0, slash);
        for (size_t i = 1; i <= dir.size(); ++i) {
            if (i == dir.size() || dir[i] == '/') mkdir(dir.substr(0, i).c_str(), 0755);
        }
    }
    const std::string temporary = memoryFile_ + ".tmp" + std::to_string(getpid());
    {
        std::ofstream out(temporary, std::ios::trunc);
        out << text;
        if (!out) {
            std::remove(temporary.c_str());
            return;
        }
    }
    if (std::rename(temporary.c_str(), memoryFile_.c_str()) != 0) std::remove(temporary.c_str());
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
    if (match) memoryChanged_ = true;
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
        if (!reported_[face]) Log("no font file found for \"%s\" (the package fonts-liberation2 has it): its text is not drawn", face.c_str());
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
