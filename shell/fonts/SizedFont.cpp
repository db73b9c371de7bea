// Measuring, rasterising and drawing at one size. Sizes follow the rules of the font engine the
// game was laid out with: scales in 16.16, advances rounded to whole pixels, line metrics
// rounded up, so every width stays where the layout expects it.
#include "shell/fonts/SizedFont.h"

#include <stb_truetype.h>

#include <algorithm>
#include <cmath>

#include "shell/fonts/Blend.h"

namespace shell::fonts {

namespace {

constexpr uint8_t kSoftHyphen = 0xAD;
constexpr double kSlant = 0.2;  // of a synthetic italic: x moves right by this much of y

// a * b / 65536, rounded half away from zero.
int64_t MulFix(int64_t a, int64_t b) {
    const int64_t ab = a * b;
    return (ab + 0x8000 - (ab < 0 ? 1 : 0)) >> 16;
}
// Whole pixels from 26.6 values.
int Ceil64(int64_t v) { return static_cast<int>((v + 63) >> 6); }
int Floor64(int64_t v) { return static_cast<int>(v >> 6); }

}  // namespace

SizedFont::SizedFont(std::shared_ptr<const TrueTypeFace> face, int pixelSize, FontStyle style)
    : face_(std::move(face)), size_(pixelSize), style_(style) {
    const FaceMetrics& m = face_->Metrics();
    scale16_ = ((int64_t{size_} * 64 << 16) + m.unitsPerEm / 2) / m.unitsPerEm;
    scale_ = double(scale16_) / (64 << 16);
    // Kerning is scaled as text shapers scale it: 26.6 pixels per font unit in 16.16.
    const int64_t em = (scale16_ * m.unitsPerEm + 0x8000) >> 16;
    kernScale_ = (em << 16) / m.unitsPerEm;
    ascent_ = Ceil64(MulFix(m.ascender, scale16_));
    height_ = Ceil64(MulFix(m.ascender - m.descender, scale16_));
    // The underline's top row counts from the line box's top; it is at least a pixel thick.
    underlineTop_ = ascent_ - Floor64(MulFix(m.underlinePosition, scale16_)) - 1;
    underlineRows_ = std::max(1, Floor64(MulFix(m.underlineThickness, scale16_)));
    boldExtra_ = style_.bold ? std::max(1, (size_ + 9) / 18) : 0;

    // Without hinting, the tops of lower-case letters and capitals would straddle two pixel
    // rows and look blurred: the outline is stretched a little, up or down, so each of the
    // common heights ends on a pixel edge, and at these sizes round letters do not overshoot.
    // As in the hinted rendering the game was drawn with, heights round up from four tenths of
    // a pixel (from three tenths up to 12 px, where a taller x-height reads better), capitals
    // less than 0.6 px below the ascenders share their height, and descenders round plainly.
    auto add = [this](int units, double pixels) {
        if (zones_.empty() || (units > zones_.back().first && pixels >= zones_.back().second)) {
            zones_.emplace_back(units, pixels);
        }
    };
    const double roundUp = size_ <= 12 ? 0.7 : 0.59;
    auto whole = [this, roundUp](int units) { return std::floor(units * scale_ + roundUp); };
    const bool flat = m.overshoot * scale_ < 0.5;
    auto over = [&](double at) { return flat ? at : at + whole(m.overshoot); };
    if (m.xHeight > 0 && m.capHeight > m.xHeight) {
        if (m.descenderDepth < -m.overshoot) add(m.descenderDepth, std::round(m.descenderDepth * scale_));
        add(-m.overshoot, flat ? 0 : -whole(m.overshoot));
        add(0, 0);
        const double x = std::max(1.0, whole(m.xHeight));
        const bool tall = m.ascenderHeight > m.capHeight + m.overshoot;
        double cap = std::max(x, whole(m.capHeight));
        if (tall && (m.ascenderHeight - m.capHeight) * scale_ < 0.6) cap = whole(m.ascenderHeight);
        add(m.xHeight, x);
        add(m.xHeight + m.overshoot, over(x));
        add(m.capHeight, cap);
        add(m.capHeight + m.overshoot, over(cap));
        if (tall) add(m.ascenderHeight, std::max(cap, whole(m.ascenderHeight)));
    }
}

int SizedFont::Snapped(int y) const {
    if (zones_.size() < 2) return y;
    double pixels;
    if (y <= zones_.front().first) {
        pixels = zones_.front().second + (y - zones_.front().first) * scale_;
    } else if (y >= zones_.back().first) {
        pixels = zones_.back().second + (y - zones_.back().first) * scale_;
    } else {
        size_t i = 1;
        while (zones_[i].first < y) ++i;
        const auto& [u0, p0] = zones_[i - 1];
        const auto& [u1, p1] = zones_[i];
        pixels = p0 + (p1 - p0) * (y - u0) / (u1 - u0);
    }
    return std::clamp(int(std::lround(pixels / scale_)), -32000, 32000);
}

std::vector<OutlinePoint> SizedFont::Shape(int index) const {
    std::vector<OutlinePoint> outline = face_->Outline(index);
    for (OutlinePoint& p : outline) {
        if (style_.italic) {
            p.x = std::clamp(p.x + int(std::lround(p.y * kSlant)), -32000, 32000);
            p.cx = std::clamp(p.cx + int(std::lround(p.cy * kSlant)), -32000, 32000);
        }
        p.y = Snapped(p.y);
        p.cy = Snapped(p.cy);
    }
    return outline;
}

SizedFont::Glyph& SizedFont::Measured(uint8_t character) {
    Glyph& g = glyphs_[character];
    if (g.measured) return g;
    g.measured = true;
    g.index = face_->GlyphFor(character);
    g.advance = Floor64(MulFix(face_->Advance(g.index), scale16_) + 32) + boldExtra_;
    const std::vector<OutlinePoint> outline = Shape(g.index);
    if (outline.empty()) return g;
    int minX = outline[0].x, maxX = minX, minY = outline[0].y, maxY = minY;
    for (const OutlinePoint& p : outline) {
        minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
        if (p.kind == OutlinePoint::Kind::Curve) {
            minX = std::min(minX, p.cx), maxX = std::max(maxX, p.cx);
            minY = std::min(minY, p.cy), maxY = std::max(maxY, p.cy);
        }
    }
    // The ink box in pixels, y down from the baseline; the points lie inside it.
    g.x0 = Floor64(MulFix(minX, scale16_));
    g.y0 = -Ceil64(MulFix(maxY, scale16_));
    g.w = Ceil64(MulFix(maxX, scale16_)) - g.x0 + boldExtra_;
    g.h = -Floor64(MulFix(minY, scale16_)) - g.y0;
    // A damaged glyph can claim any size; no real one is larger than a few ems.
    const int limit = 3 * size_ + 16;
    g.ink = g.w > 0 && g.h > 0 && g.w <= limit && g.h <= limit;
    return g;
}

void SizedFont::Rasterise(Glyph& g) {
    g.rasterised = true;
    if (!g.ink) return;
    const std::vector<OutlinePoint> outline = Shape(g.index);
    std::vector<stbtt_vertex> vertices(outline.size());
    for (size_t i = 0; i < outline.size(); ++i) {
        const OutlinePoint& p = outline[i];
        stbtt_vertex& v = vertices[i];
        v = {};
        v.type = p.kind == OutlinePoint::Kind::Move   ? STBTT_vmove
                 : p.kind == OutlinePoint::Kind::Line ? STBTT_vline
                                                      : STBTT_vcurve;
        v.x = short(p.x), v.y = short(p.y), v.cx = short(p.cx), v.cy = short(p.cy);
    }
    const int outlineWidth = g.w - boldExtra_;
    std::vector<uint8_t> plain(size_t(outlineWidth) * g.h);
    stbtt__bitmap bitmap{outlineWidth, g.h, outlineWidth, plain.data()};
    stbtt_Rasterize(&bitmap, 0.35f, vertices.data(), int(vertices.size()), float(scale_),
                    float(scale_), 0, 0, g.x0, g.y0, 1, nullptr);
    g.coverage.assign(size_t(g.w) * g.h, 0);
    // A synthetic bold lays the glyph over itself, moved right pixel by pixel.
    for (int y = 0; y < g.h; ++y) {
        for (int x = 0; x < outlineWidth; ++x) {
            const uint8_t c = plain[size_t(y) * outlineWidth + x];
            for (int k = 0; k <= boldExtra_; ++k) {
                uint8_t& out = g.coverage[size_t(y) * g.w + x + k];
                out = std::max(out, c);
            }
        }
    }
}

std::vector<SizedFont::Placed> SizedFont::Place(std::string_view text, int* width, int* shift) {
    std::vector<Placed> placed;
    placed.reserve(text.size());
    int64_t pen = 0;  // 26.6
    int minX = 0, maxX = 0, previous = -1;
    for (char ch : text) {
        const auto c = static_cast<uint8_t>(ch);
        // A soft hyphen shows only where a line breaks, and these lines never break.
        if (c == kSoftHyphen) continue;
        Glyph& g = Measured(c);
        if (previous >= 0) {
            pen += (face_->Kern(previous, g.index) * kernScale_ + 0x8000) >> 16;
        }
        const int x = Floor64(pen);
        if (g.ink) {
            minX = std::min(minX, x + g.x0);
            maxX = std::max(maxX, x + g.x0 + g.w);
        }
        placed.push_back({&g, x});
        pen += int64_t{g.advance} * 64;
        maxX = std::max(maxX, Floor64(pen));
        previous = g.index;
    }
    *width = maxX - minX;
    *shift = -minX;
    return placed;
}

int SizedFont::Measure(std::string_view text) {
    int width = 0, shift = 0;
    Place(text, &width, &shift);
    return width;
}

Box SizedFont::Draw(const PixelTarget& target, std::string_view text, int x, int y, uint32_t rgb) {
    int width = 0, shift = 0;
    std::vector<Placed> placed = Place(text, &width, &shift);
    if (width <= 0) return {};
    // What is drawn is the line box clipped to the target; glyph ink outside the box is cut,
    // as it always was.
    const int left = std::max(x, 0), top = std::max(y, 0);
    const int right = std::min(x + width, target.width), bottom = std::min(y + height_, target.height);
    if (right <= left || bottom <= top) return {};
    const Box clip{left, top, right - left, bottom - top};

    // Coverage of the whole line first: where glyphs touch or overlap, the darker one counts.
    std::vector<uint8_t> mask(size_t(clip.w) * clip.h, 0);
    for (const Placed& p : placed) {
        Glyph& g = *p.glyph;
        if (!g.ink) continue;
        if (!g.rasterised) Rasterise(g);
        const int gx = x + shift + p.x + g.x0, gy = y + ascent_ + g.y0;
        for (int row = std::max(gy, clip.y); row < std::min(gy + g.h, clip.y + clip.h); ++row) {
            const uint8_t* from = g.coverage.data() + size_t(row - gy) * g.w;
            uint8_t* to = mask.data() + size_t(row - clip.y) * clip.w;
            for (int col = std::max(gx, clip.x); col < std::min(gx + g.w, clip.x + clip.w); ++col) {
                to[col - clip.x] = std::max(to[col - clip.x], from[col - gx]);
            }
        }
    }
    if (style_.underline) {
        for (int row = y + underlineTop_; row < y + underlineTop_ + underlineRows_; ++row) {
            if (row < clip.y || row >= clip.y + clip.h) continue;
            std::fill_n(mask.data() + size_t(row - clip.y) * clip.w, clip.w, uint8_t{255});
        }
    }
    // What changed: text drawn again over itself leaves nothing to be shown again.
    int changedLeft = clip.x + clip.w, changedRight = -1, changedTop = -1, changedBottom = -1;
    for (int row = 0; row < clip.h; ++row) {
        uint32_t* to = target.pixels + size_t(clip.y + row) * target.stride + clip.x;
        const uint8_t* from = mask.data() + size_t(row) * clip.w;
        for (int col = 0; col < clip.w; ++col) {
            if (from[col] == 0) continue;
            const uint32_t blended = BlendOver(to[col], uint32_t{from[col]} << 24 | (rgb & 0xFFFFFFu));
            if (blended == to[col]) continue;
            to[col] = blended;
            changedLeft = std::min(changedLeft, clip.x + col);
            changedRight = std::max(changedRight, clip.x + col);
            if (changedTop < 0) changedTop = clip.y + row;
            changedBottom = clip.y + row;
        }
    }
    if (changedRight < 0) return {};
    return {changedLeft, changedTop, changedRight - changedLeft + 1, changedBottom - changedTop + 1};
}

}  // namespace shell::fonts
