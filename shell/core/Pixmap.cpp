// Pixel operations. Blending is exact straight-alpha "over" with rounding, so a test can
// predict every pixel.
#include "shell/core/Pixmap.h"

#include <cstring>

#include "shell/fonts/Blend.h"

namespace shell {

uint32_t BlendPixel(uint32_t dst, uint32_t src) { return fonts::BlendOver(dst, src); }

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
        const uint32_t* s = source.Row(row - y) + (r.x - x);
        for (int i = 0; i < r.w; ++i) d[i] = BlendPixel(d[i], s[i]);
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
        for (int i = 0; i < r.w; ++i) d[i] = BlendPixel(d[i], s[i]);
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
