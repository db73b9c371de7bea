// Pixel operations. Blending is exact straight-alpha "over" with rounding, so a test can
// predict every pixel.
#include "shell/core/Pixmap.h"

#include <cstring>

namespace shell {

namespace {

// x / 255 rounded to nearest, for x in [0, 255 * 255 * 255].
inline uint32_t Div255(uint32_t x) { return (x + 128 + ((x + 128) >> 8)) >> 8; }

inline uint32_t Channel(uint32_t p, int shift) { return (p >> shift) & 0xFFu; }

// A source pixel neither opaque nor clear over `dst`.
inline uint32_t BlendPartial(uint32_t dst, uint32_t src) {
    const uint32_t sa = src >> 24;
    const uint32_t da = dst >> 24;
    if (da == 255) {
        const uint32_t inv = 255 - sa;
        uint32_t out = 0xFF000000u;
        for (int shift = 0; shift <= 16; shift += 8) {
            out |= Div255(Channel(src, shift) * sa + Channel(dst, shift) * inv) << shift;
        }
        return out;
    }
    // Over a translucent pixel: weigh each colour by how much of it shows.
    const uint32_t dw = Div255(da * (255 - sa));  // the destination's share, 0..255
    const uint32_t oa = sa + dw;
    if (oa == 0) return 0;
    uint32_t out = oa << 24;
    for (int shift = 0; shift <= 16; shift += 8) {
        const uint32_t c = (Channel(src, shift) * sa + Channel(dst, shift) * dw + oa / 2) / oa;
        out |= (c > 255 ? 255 : c) << shift;
    }
    return out;
}

// Pictures are mostly opaque or clear pixels: those take no arithmetic (and this loop is what
// a kept game's playback spends its time in, the move clock drawn at every tick).
inline void BlendRow(uint32_t* d, const uint32_t* s, int n) {
    for (int i = 0; i < n; ++i) {
        const uint32_t a = s[i] >> 24;
        if (a == 255) {
            d[i] = s[i];
        } else if (a != 0) {
            d[i] = BlendPartial(d[i], s[i]);
        }
    }
}

}  // namespace

uint32_t BlendPixel(uint32_t dst, uint32_t src) {
    const uint32_t sa = src >> 24;
    if (sa == 255) return src;
    if (sa == 0) return dst;
    return BlendPartial(dst, src);
}

Pixmap::Pixmap(int width, int height, uint32_t fill)
    : width_(width > 0 ? width : 0),
      height_(height > 0 ? height : 0),
      pixels_(static_cast<size_t>(width_) * height_, fill) {}

Rect Pixmap::Fill(const Rect& area, uint32_t colour) {
    const Rect r = area.Intersect(Bounds());
    for (int y = r.y; y < r.Bottom(); ++y) {
        uint32_t* row = Row(y) + r.x;
        std::fill(row, row + r.w, colour);
    }
    return r;
}

Rect Pixmap::Blend(const Pixmap& source, int x, int y, const Rect& clip) {
    const Rect r = Rect{x, y, source.width_, source.height_}.Intersect(clip).Intersect(Bounds());
    for (int row = r.y; row < r.Bottom(); ++row) {
        uint32_t* d = Row(row) + r.x;
        BlendRow(d, source.Row(row - y) + (r.x - x), r.w);
    }
    return r;
}

Rect Pixmap::BlendRaw(const uint32_t* pixels, int pitch, int width, int height, int x, int y) {
    const Rect r = Rect{x, y, width, height}.Intersect(Bounds());
    for (int row = r.y; row < r.Bottom(); ++row) {
        uint32_t* d = Row(row) + r.x;
        const auto* s = reinterpret_cast<const uint32_t*>(
                            reinterpret_cast<const uint8_t*>(pixels) +
                            static_cast<size_t>(row - y) * pitch) +
                        (r.x - x);
        BlendRow(d, s, r.w);
    }
    return r;
}

void Pixmap::CopyArea(const Pixmap& source, const Rect& area) {
    const Rect r = area.Intersect(Bounds()).Intersect(source.Bounds());
    for (int y = r.y; y < r.Bottom(); ++y) {
        std::memcpy(Row(y) + r.x, source.Row(y) + r.x, static_cast<size_t>(r.w) * 4);
    }
}

void Pixmap::CopyFrom(const Pixmap& source, int sx, int sy, const Rect& area) {
    const Rect r = area.Intersect(Bounds());
    for (int y = r.y; y < r.Bottom(); ++y) {
        for (int x = r.x; x < r.Right(); ++x) {
            const int px = sx + (x - area.x), py = sy + (y - area.y);
            Row(y)[x] = source.Bounds().Contains(px, py) ? source.At(px, py) : 0;
        }
    }
}

std::vector<uint8_t> Pixmap::ToRgba() const {
    std::vector<uint8_t> out(pixels_.size() * 4);
    for (size_t i = 0; i < pixels_.size(); ++i) {
        const uint32_t p = pixels_[i];
        out[4 * i] = static_cast<uint8_t>(p >> 16);
        out[4 * i + 1] = static_cast<uint8_t>(p >> 8);
        out[4 * i + 2] = static_cast<uint8_t>(p);
        out[4 * i + 3] = static_cast<uint8_t>(p >> 24);
    }
    return out;
}

Pixmap Pixmap::FromRgba(int width, int height, const uint8_t* rgba) {
    Pixmap p(width, height);
    for (size_t i = 0; i < p.pixels_.size(); ++i) {
        const uint8_t* c = rgba + 4 * i;
        p.pixels_[i] = Argb(c[0], c[1], c[2], c[3]);
    }
    return p;
}

}  // namespace shell
