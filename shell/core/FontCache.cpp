// Faces come from the font source; real bold and italic files are used when the family has
// them, and synthetic styles only when it does not.
#include "shell/core/FontCache.h"

#include <algorithm>

#include "host/Object.h"
#include "shell/core/Log.h"

namespace shell {

namespace {
constexpr int32_t kMinSize = 1;
constexpr int32_t kMaxSize = 400;
}  // namespace

FontCache::FontCache(std::unique_ptr<fonts::FontSource> source) : source_(std::move(source)) {}

FontCache::~FontCache() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (source_) source_->Save();
}

void FontCache::Preload(const std::string& face) {
    std::lock_guard<std::mutex> lock(mutex_);
    FaceFor(face, false, false);
    FaceFor(face, true, false);
    // Italic text is rare (the help page's markup): those files are only looked up now (the
    // source remembers the answer, so drawing never waits for a lookup) and read when first
    // drawn, so their pages stay out of memory until then.
    if (source_) {
        source_->Find(face, false, true);
        source_->Find(face, true, true);
        source_->Save();
    }
}

const FontCache::Face& FontCache::FaceFor(const std::string& face, bool bold, bool italic) {
    const FaceKey key{face, bold, italic};
    auto it = faces_.find(key);
    if (it != faces_.end()) return it->second;
    Face found;
    std::optional<fonts::FontMatch> match = source_ ? source_->Find(face, bold, italic) : std::nullopt;
    if (match) {
        found.match = *match;
        auto file = files_.find(match->file);
        if (file != files_.end()) {
            found.face = file->second;
        } else {
            std::string error;
            std::shared_ptr<const fonts::FontBytes> bytes = source_->Open(*match, &error);
            if (bytes) found.face = fonts::TrueTypeFace::Load(std::move(bytes), &error);
            if (!found.face) Log("cannot read font file %s: %s", match->file.c_str(), error.c_str());
            files_.emplace(match->file, found.face);
        }
    }
    return faces_.emplace(key, std::move(found)).first->second;
}

fonts::SizedFont* FontCache::Sized(const std::string& face, int32_t size, int32_t style) {
    size = std::clamp(size, kMinSize, kMaxSize);
    style &= host::kStyleBold | host::kStyleItalic | host::kStyleUnderline;
    const auto key = std::make_tuple(face, size, style);
    auto it = sized_.find(key);
    if (it != sized_.end()) return it->second.get();

    const bool bold = (style & host::kStyleBold) != 0;
    const bool italic = (style & host::kStyleItalic) != 0;
    const Face& found = FaceFor(face, bold, italic);
    std::unique_ptr<fonts::SizedFont> font;
    if (!found.face) {
        if (!reported_[face]) Log("no font file found for \"%s\" (the package fonts-liberation2 has it): its text is not drawn", face.c_str());
    } else {
        if (!reported_[face] && !found.match.metricCompatible) {
            Log("font \"%s\" is drawn with \"%s\", which does not share its metrics",
                face.c_str(), found.match.family.c_str());
        }
        fonts::FontStyle drawn;
        drawn.bold = bold && !found.match.bold;
        drawn.italic = italic && !found.match.italic;
        drawn.underline = (style & host::kStyleUnderline) != 0;
        font = std::make_unique<fonts::SizedFont>(found.face, size, drawn);
    }
    reported_[face] = true;
    return sized_.emplace(key, std::move(font)).first->second.get();
}

bool FontCache::Available(const std::string& face, int32_t size, int32_t style) {
    std::lock_guard<std::mutex> lock(mutex_);
    return Sized(face, size, style) != nullptr;
}

void FontCache::Measure(const std::string& face, int32_t size, int32_t style,
                        const std::string& text, int32_t* width, int32_t* height) {
    std::lock_guard<std::mutex> lock(mutex_);
    fonts::SizedFont* font = Sized(face, size, style);
    int w = 0, h = std::clamp(size, kMinSize, kMaxSize);
    if (font != nullptr) {
        h = font->Height();
        w = font->Measure(text);
    }
    if (width != nullptr) *width = w;
    if (height != nullptr) *height = h;
}

Rect FontCache::Draw(Pixmap& target, const std::string& face, int32_t size, int32_t style,
                     const std::string& text, int x, int y, uint8_t r, uint8_t g, uint8_t b) {
    if (text.empty()) return {};
    std::lock_guard<std::mutex> lock(mutex_);
    fonts::SizedFont* font = Sized(face, size, style);
    if (font == nullptr) return {};
    const fonts::PixelTarget pixels{target.Data(), target.Width(), target.Height(),
                                    static_cast<size_t>(target.Width())};
    const fonts::Box box = font->Draw(pixels, text, x, y, uint32_t{r} << 16 | uint32_t{g} << 8 | b);
    return {box.x, box.y, box.w, box.h};
}

}  // namespace shell
