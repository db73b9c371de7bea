// An RGBA picture held as 32-bit pixels 0xAARRGGBB, rows top-down with no padding: canvases,
// decoded frames and the composed stage are all Pixmaps, so the window and the headless
// screenshots show the same pixels.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "shell/core/Rect.h"

namespace shell {

constexpr uint32_t Argb(uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255) {
    return (uint32_t{a} << 24) | (uint32_t{r} << 16) | (uint32_t{g} << 8) | uint32_t{b};
}
constexpr uint8_t AlphaOf(uint32_t p) { return static_cast<uint8_t>(p >> 24); }

// Blends one pixel over another (straight alpha, "source over").
uint32_t BlendPixel(uint32_t dst, uint32_t src);

class Pixmap {
public:
    Pixmap() = default;
    Pixmap(int width, int height, uint32_t fill = 0);

    int Width() const { return width_; }
    int Height() const { return height_; }
    Rect Bounds() const { return {0, 0, width_, height_}; }
    uint32_t* Row(int y) {
        plan_.reset();
        return pixels_.data() + static_cast<size_t>(y) * width_;
    }
    const uint32_t* Row(int y) const { return pixels_.data() + static_cast<size_t>(y) * width_; }
    uint32_t At(int x, int y) const { return Row(y)[x]; }
    uint32_t* Data() {
        plan_.reset();
        return pixels_.data();
    }
    const uint32_t* Data() const { return pixels_.data(); }
    // The same size and every pixel the same.
    bool operator==(const Pixmap& o) const {
        return width_ == o.width_ && height_ == o.height_ && pixels_ == o.pixels_;
    }

    // Sets every pixel of `area` (clipped) to `colour`. These drawing operations return the
    // bounds of the pixels whose value changed (empty when the picture is as it was), so that
    // drawing the same thing again marks nothing to be shown again.
    Rect Fill(const Rect& area, uint32_t colour);
    // Blends `source` with its top-left at (x, y), only inside `clip`.
    Rect Blend(const Pixmap& source, int x, int y, const Rect& clip);
    Rect Blend(const Pixmap& source, int x, int y) { return Blend(source, x, y, Bounds()); }
    // Blends raw 0xAARRGGBB rows (`pitch` bytes apart) with their top-left at (x, y).
    Rect BlendRaw(const uint32_t* pixels, int pitch, int width, int height, int x, int y);
    // Copies `area` of `source` (same size as this) to the same place here.
    void CopyArea(const Pixmap& source, const Rect& area);
    // Copies the part of `source` that lies at `area` of this picture: source (sx, sy) goes
    // to (area.x, area.y); pixels outside `source` become transparent.
    void CopyFrom(const Pixmap& source, int sx, int sy, const Rect& area);

    // R, G, B, A bytes per pixel, for PNG files and the GIF decoder's output.
    std::vector<uint8_t> ToRgba() const;
    static Pixmap FromRgba(int width, int height, const uint8_t* rgba);

private:
    // Where a picture is opaque, partly transparent or clear, row by row: made when it is first
    // blended and kept until it is written to, so blending copies opaque runs whole, skips clear
    // ones and works out only the pixels between.
    struct Span {
        int start = 0, end = 0;
        bool opaque = false;
    };
    struct BlendPlan {
        std::vector<std::vector<Span>> rows;
    };
    const BlendPlan& Plan() const;

    int width_ = 0, height_ = 0;
    std::vector<uint32_t> pixels_;
    mutable std::shared_ptr<const BlendPlan> plan_;
};

}  // namespace shell
