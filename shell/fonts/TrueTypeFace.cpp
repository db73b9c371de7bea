// Checking and reading a TrueType face. The outline reader trusts the bytes it is given, so
// everything it will touch is checked here first: the table directory and the tables' extents
// when the face is loaded, and a glyph's points and components before its outline is read.
#include "shell/fonts/TrueTypeFace.h"

#include <stb_truetype.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace shell::fonts {

namespace {

constexpr uint32_t Tag(const char (&t)[5]) {
    return uint32_t(uint8_t(t[0])) << 24 | uint32_t(uint8_t(t[1])) << 16 |
           uint32_t(uint8_t(t[2])) << 8 | uint32_t(uint8_t(t[3]));
}

constexpr int kMaxDepth = 8;          // nesting of composite glyphs
constexpr int kComponentBudget = 64;  // glyphs one composite may pull in, all levels together
constexpr long kMaxExtent = 30000;    // keeps every transformed point inside 16 bits

class VectorBytes : public FontBytes {
public:
    explicit VectorBytes(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}
    const uint8_t* Data() const override { return bytes_.data(); }
    size_t Size() const override { return bytes_.size(); }

private:
    std::vector<uint8_t> bytes_;
};

}  // namespace

std::shared_ptr<const FontBytes> BytesFromVector(std::vector<uint8_t> bytes) {
    return std::make_shared<VectorBytes>(std::move(bytes));
}

TrueTypeFace::~TrueTypeFace() = default;

std::unique_ptr<TrueTypeFace> TrueTypeFace::Load(std::shared_ptr<const FontBytes> bytes,
                                                 std::string* error) {
    std::string reason;
    std::unique_ptr<TrueTypeFace> face(new TrueTypeFace());
    if (!bytes || bytes->Size() == 0) {
        reason = "no font data";
    } else if (bytes->Size() > size_t(std::numeric_limits<int32_t>::max())) {
        reason = "the font file is too large";
    } else {
        face->bytes_ = std::move(bytes);
        if (face->ReadTables(Span(face->bytes_->Data(), face->bytes_->Size()), &reason)) {
            return face;
        }
    }
    if (error != nullptr) *error = reason;
    return nullptr;
}

bool TrueTypeFace::ReadTables(Span file, std::string* error) {
    auto refuse = [error](const char* reason) {
        *error = reason;
        return false;
    };
    // A collection holds several faces; like other programs, take its first.
    size_t start = 0;
    if (file.U32(0) == Tag("ttcf")) {
        if (file.U32(8) == 0) return refuse("an empty font collection");
        start = file.U32(12);
    }
    const uint32_t version = file.U32(start);
    if (version == Tag("OTTO")) return refuse("the font's outlines are not TrueType outlines");
    if (version != 0x00010000u && version != Tag("true")) return refuse("not a TrueType font");
    const size_t tables = file.U16(start + 4);
    if (!file.Has(start + 12, 16 * tables)) return refuse("the font's table list is cut short");

    auto table = [&](uint32_t tag) {
        for (size_t i = 0; i < tables; ++i) {
            const size_t record = start + 12 + 16 * i;
            if (file.U32(record) == tag) return file.Sub(file.U32(record + 8), file.U32(record + 12));
        }
        return Span();
    };
    for (size_t i = 0; i < tables; ++i) {
        const size_t record = start + 12 + 16 * i;
        if (!file.Has(file.U32(record + 8), file.U32(record + 12))) {
            return refuse("a table of the font runs past the end of the file");
        }
    }

    const Span head = table(Tag("head")), hhea = table(Tag("hhea")), maxp = table(Tag("maxp"));
    const Span cmap = table(Tag("cmap"));
    hmtx_ = table(Tag("hmtx"));
    loca_ = table(Tag("loca"));
    glyf_ = table(Tag("glyf"));
    if (head.Size() < 54 || hhea.Size() < 36 || maxp.Size() < 6 || cmap.Size() < 4 ||
        hmtx_.Empty() || loca_.Empty() || glyf_.Empty()) {
        return refuse("the font lacks a table every TrueType font has");
    }
    metrics_.unitsPerEm = head.U16(18);
    const int locaFormat = head.S16(50);
    numGlyphs_ = maxp.U16(4);
    longMetrics_ = hhea.U16(34);
    longOffsets_ = locaFormat == 1;
    if (metrics_.unitsPerEm < 16 || metrics_.unitsPerEm > 16384 || (locaFormat != 0 && locaFormat != 1) ||
        numGlyphs_ == 0 || longMetrics_ == 0 || longMetrics_ > numGlyphs_ ||
        hmtx_.Size() < 4 * size_t(longMetrics_) + 2 * size_t(numGlyphs_ - longMetrics_) ||
        loca_.Size() < (size_t(numGlyphs_) + 1) * (longOffsets_ ? 4 : 2) ||
        !cmap.Has(4, 8 * size_t(cmap.U16(2)))) {
        return refuse("the font's tables do not agree with each other");
    }

    // Line metrics as other programs read them: the horizontal header, else OS/2's values.
    const Span os2 = table(Tag("OS/2")), post = table(Tag("post"));
    metrics_.ascender = hhea.S16(4);
    metrics_.descender = hhea.S16(6);
    if (metrics_.ascender == 0 && metrics_.descender == 0 && os2.Size() >= 78) {
        metrics_.ascender = os2.S16(68);
        metrics_.descender = os2.S16(70);
        if (metrics_.ascender == 0 && metrics_.descender == 0) {
            metrics_.ascender = os2.U16(74);
            metrics_.descender = -int(os2.U16(76));
        }
    }
    if (post.Size() >= 12) {
        // The table gives the line's top; the centre is half its thickness lower.
        metrics_.underlineThickness = post.S16(10);
        metrics_.underlinePosition = post.S16(8) - metrics_.underlineThickness / 2;
    }

    ReadCharacterMap(cmap);
    kerning_.Load(table(Tag("GPOS")), table(Tag("kern")));

    info_ = std::make_unique<stbtt_fontinfo>();
    if (stbtt_InitFont(info_.get(), file.Data(), int(start)) == 0) {
        return refuse("the font has no Unicode character map");
    }
    MeasureLetters();
    return true;
}

void TrueTypeFace::MeasureLetters() {
    auto extent = [this](char letter, bool top) {
        const std::vector<OutlinePoint> outline = Outline(GlyphFor(uint8_t(letter)));
        if (outline.empty()) return 0;
        int v = outline[0].y;
        for (const OutlinePoint& p : outline) {
            v = top ? std::max(v, p.y) : std::min(v, p.y);
            if (p.kind == OutlinePoint::Kind::Curve) v = top ? std::max(v, p.cy) : std::min(v, p.cy);
        }
        return v;
    };
    metrics_.xHeight = std::max(0, extent('x', true));
    metrics_.capHeight = std::max(0, extent('H', true));
    metrics_.ascenderHeight = std::max(0, extent('h', true));
    metrics_.descenderDepth = std::min(0, extent('p', false));
    if (metrics_.xHeight > 0 && metrics_.capHeight > 0) {
        metrics_.overshoot = std::clamp(std::max({extent('o', true) - metrics_.xHeight,
                                                  extent('O', true) - metrics_.capHeight,
                                                  -extent('o', false)}),
                                        0, metrics_.unitsPerEm / 20);
    }
}

// Fills the Latin-1 table from the best Unicode subtable: Latin-1 is the first 256 code points.
void TrueTypeFace::ReadCharacterMap(Span cmap) {
    Span best;
    int bestScore = 0;
    for (size_t i = 0, n = cmap.U16(2); i < n; ++i) {
        const int platform = cmap.U16(4 + 8 * i), encoding = cmap.U16(6 + 8 * i);
        const Span sub = cmap.From(cmap.U32(8 + 8 * i));
        const int format = sub.U16(0);
        if (format != 4 && format != 6 && format != 12) continue;
        const int score = platform == 3 && encoding == 10 ? 4
                          : platform == 0               ? 3
                          : platform == 3 && encoding == 1 ? 2
                                                           : 0;
        if (score > bestScore) {
            best = sub;
            bestScore = score;
        }
    }
    auto set = [&](uint32_t character, uint32_t glyph) {
        if (character < 256 && latin1_[character] == 0 && glyph < uint32_t(numGlyphs_)) {
            latin1_[character] = uint16_t(glyph);
        }
    };
    const int format = best.U16(0);
    if (format == 4) {
        const size_t segments = best.U16(6) / 2;
        for (size_t s = 0; s < segments; ++s) {
            const uint32_t end = best.U16(14 + 2 * s), first = best.U16(16 + 2 * segments + 2 * s);
            const uint16_t delta = best.U16(16 + 4 * segments + 2 * s);
            const size_t rangeAt = 16 + 6 * segments + 2 * s;
            const uint16_t range = best.U16(rangeAt);
            for (uint32_t c = first; c <= std::min<uint32_t>(end, 255); ++c) {
                uint16_t glyph = uint16_t(c + delta);
                if (range != 0) {
                    glyph = best.U16(rangeAt + range + 2 * (c - first));
                    if (glyph != 0) glyph = uint16_t(glyph + delta);
                }
                set(c, glyph);
            }
        }
    } else if (format == 6) {
        const uint32_t first = best.U16(6), count = best.U16(8);
        for (uint32_t i = 0; i < count && first + i < 256; ++i) set(first + i, best.U16(10 + 2 * i));
    } else if (format == 12) {
        const size_t groups = std::min<size_t>(best.U32(12), best.Size() / 12);
        for (size_t g = 0; g < groups; ++g) {
            const uint32_t first = best.U32(16 + 12 * g), end = best.U32(20 + 12 * g);
            const uint32_t glyph = best.U32(24 + 12 * g);
            for (uint32_t c = first; c <= std::min<uint32_t>(end, 255); ++c) set(c, glyph + (c - first));
        }
    }
}

int TrueTypeFace::Advance(int glyph) const {
    if (glyph < 0 || glyph >= numGlyphs_) return 0;
    return hmtx_.U16(4 * size_t(std::min(glyph, longMetrics_ - 1)));
}

long TrueTypeFace::CheckGlyph(int glyph, int depth, int* budget) const {
    if (glyph < 0 || glyph >= numGlyphs_ || --*budget < 0) return -1;
    const size_t start = longOffsets_ ? loca_.U32(4 * size_t(glyph)) : 2 * size_t(loca_.U16(2 * size_t(glyph)));
    const size_t end = longOffsets_ ? loca_.U32(4 * size_t(glyph) + 4) : 2 * size_t(loca_.U16(2 * size_t(glyph) + 2));
    if (start == end) return 0;  // a blank glyph, such as the space
    if (start > end || !glyf_.Has(start, end - start) || end - start < 10) return -1;
    const Span g = glyf_.Sub(start, end - start);
    const int contours = g.S16(0);

    if (contours > 0) {
        if (!g.Has(10, 2 * size_t(contours) + 2)) return -1;
        std::vector<size_t> starts{0};
        int last = -1;
        for (int i = 0; i < contours; ++i) {
            const int e = g.U16(10 + 2 * size_t(i));
            if (e <= last) return -1;  // contour ends must rise, or the reader loses count
            last = e;
            starts.push_back(size_t(e) + 1);
        }
        const size_t points = size_t(last) + 1;
        size_t at = 12 + 2 * size_t(contours) + g.U16(10 + 2 * size_t(contours));
        std::vector<uint8_t> flags(points);
        for (size_t i = 0; i < points; ++i) {
            if (!g.Has(at, 1)) return -1;
            const uint8_t f = g.U8(at++);
            flags[i] = f;
            if ((f & 8) != 0) {
                if (!g.Has(at, 1)) return -1;
                for (int repeat = g.U8(at++); repeat > 0 && i + 1 < points; --repeat) flags[++i] = f;
            }
        }
        // A contour that starts off the curve looks at the point after it.
        if ((flags[starts[starts.size() - 2]] & 1) == 0 && starts[starts.size() - 2] + 1 >= points) {
            return -1;
        }
        long extent = 0;
        for (int axis = 0; axis < 2; ++axis) {
            const uint8_t shortBit = axis == 0 ? 2 : 4, sameBit = axis == 0 ? 16 : 32;
            int32_t v = 0;
            for (size_t i = 0; i < points; ++i) {
                if ((flags[i] & shortBit) != 0) {
                    if (!g.Has(at, 1)) return -1;
                    const int d = g.U8(at++);
                    v += (flags[i] & sameBit) != 0 ? d : -d;
                } else if ((flags[i] & sameBit) == 0) {
                    if (!g.Has(at, 2)) return -1;
                    v += g.S16(at);
                    at += 2;
                }
                extent = std::max(extent, std::labs(long(int16_t(v))));
            }
        }
        return extent;
    }
    if (contours == 0) return 0;

    // A composite: each component is another glyph, moved and perhaps scaled.
    if (depth >= kMaxDepth) return -1;
    double extent = 0;
    size_t at = 10;
    for (bool more = true; more;) {
        if (!g.Has(at, 4)) return -1;
        const int flags = g.U16(at), child = g.U16(at + 2);
        at += 4;
        if ((flags & 2) == 0) return -1;  // components placed by matching points are not read
        double dx = 0, dy = 0;
        if ((flags & 1) != 0) {
            if (!g.Has(at, 4)) return -1;
            dx = g.S16(at), dy = g.S16(at + 2);
            at += 4;
        } else {
            if (!g.Has(at, 2)) return -1;
            dx = int8_t(g.U8(at)), dy = int8_t(g.U8(at + 1));
            at += 2;
        }
        double m[4] = {1, 0, 0, 1};
        const int values = (flags & 8) != 0 ? 1 : (flags & 64) != 0 ? 2 : (flags & 128) != 0 ? 4 : 0;
        if (!g.Has(at, 2 * size_t(values))) return -1;
        if (values == 1) m[0] = m[3] = g.S16(at) / 16384.0;
        if (values == 2) m[0] = g.S16(at) / 16384.0, m[3] = g.S16(at + 2) / 16384.0;
        if (values == 4) {
            for (int i = 0; i < 4; ++i) m[i] = g.S16(at + 2 * size_t(i)) / 16384.0;
        }
        at += 2 * size_t(values);
        const long inner = CheckGlyph(child, depth + 1, budget);
        if (inner < 0) return -1;
        // The reader scales each axis once more by the length of its column.
        const double sx = std::hypot(m[0], m[1]), sy = std::hypot(m[2], m[3]);
        extent = std::max({extent, sx * ((std::fabs(m[0]) + std::fabs(m[2])) * inner + std::fabs(dx)),
                           sy * ((std::fabs(m[1]) + std::fabs(m[3])) * inner + std::fabs(dy))});
        if (extent > kMaxExtent) return -1;
        more = (flags & 32) != 0;
    }
    return long(std::ceil(extent));
}

std::vector<OutlinePoint> TrueTypeFace::Outline(int glyph) const {
    int budget = kComponentBudget;
    const long extent = CheckGlyph(glyph, 0, &budget);
    if (extent <= 0 || extent > kMaxExtent) return {};
    stbtt_vertex* vertices = nullptr;
    const int count = stbtt_GetGlyphShape(info_.get(), glyph, &vertices);
    std::vector<OutlinePoint> out;
    out.reserve(size_t(std::max(count, 0)));
    for (int i = 0; i < count; ++i) {
        const stbtt_vertex& v = vertices[i];
        OutlinePoint p;
        p.kind = v.type == STBTT_vmove   ? OutlinePoint::Kind::Move
                 : v.type == STBTT_vline ? OutlinePoint::Kind::Line
                                         : OutlinePoint::Kind::Curve;
        p.x = v.x, p.y = v.y, p.cx = v.cx, p.cy = v.cy;
        out.push_back(p);
    }
    stbtt_FreeShape(info_.get(), vertices);
    return out;
}

}  // namespace shell::fonts
