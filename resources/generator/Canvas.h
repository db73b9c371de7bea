// Floating-point RGBA pictures and the few drawing helpers the artwork is made with: colours in
// 0..1 (not premultiplied), "over" compositing, supersampled shapes from signed distances.
#pragma once

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace assetgen {

struct Color {
    float r = 0, g = 0, b = 0, a = 0;
};

constexpr Color Rgb(int r, int g, int b, float a = 1.0f) {
    return {r / 255.0f, g / 255.0f, b / 255.0f, a};
}

inline float Clamp01(float v) { return std::clamp(v, 0.0f, 1.0f); }
inline float Mix(float a, float b, float t) { return a + (b - a) * t; }
inline Color Mix(Color a, Color b, float t) {
    return {Mix(a.r, b.r, t), Mix(a.g, b.g, t), Mix(a.b, b.b, t), Mix(a.a, b.a, t)};
}
inline Color Scale(Color c, float k) { return {c.r * k, c.g * k, c.b * k, c.a}; }
inline Color WithAlpha(Color c, float a) { return {c.r, c.g, c.b, a}; }
inline float SmoothStep(float e0, float e1, float x) {
    const float t = Clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}
// Perceived lightness 0..1, used to pick outline and highlight strengths.
inline float Luma(Color c) { return 0.2126f * c.r + 0.7152f * c.g + 0.0722f * c.b; }

// Source over destination, both straight (not premultiplied) alpha.
inline Color Over(Color src, Color dst) {
    const float a = src.a + dst.a * (1 - src.a);
    if (a <= 0) return {};
    auto ch = [&](float s, float d) { return (s * src.a + d * dst.a * (1 - src.a)) / a; };
    return {ch(src.r, dst.r), ch(src.g, dst.g), ch(src.b, dst.b), a};
}

class Image {
public:
    Image() = default;
    Image(int width, int height, Color fill = {}) : w_(width), h_(height), px_(size_t(width) * height, fill) {}

    int Width() const { return w_; }
    int Height() const { return h_; }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < w_ && y < h_; }
    Color& At(int x, int y) { return px_[size_t(y) * w_ + x]; }
    const Color& At(int x, int y) const { return px_[size_t(y) * w_ + x]; }

    // Lays `c` over the pixel (ignored outside the picture).
    void Blend(int x, int y, Color c) {
        if (Inside(x, y) && c.a > 0) At(x, y) = Over(c, At(x, y));
    }
    void Fill(Color c) { std::fill(px_.begin(), px_.end(), c); }
    // Lays `src` over this picture with its top-left corner at (x, y).
    void Draw(const Image& src, int x, int y) {
        for (int sy = 0; sy < src.h_; ++sy)
            for (int sx = 0; sx < src.w_; ++sx) Blend(x + sx, y + sy, src.At(sx, sy));
    }

private:
    int w_ = 0, h_ = 0;
    std::vector<Color> px_;
};

// A shader for one sample point (in pixel units, pixel centres at +0.5): the colour there and
// whether the shape covers it.
using SampleShader = std::function<bool(float x, float y, Color* out)>;

// Renders a shape over the rectangle [x0, x1) x [y0, y1) of `img` with n x n samples a pixel:
// each pixel gets the mean colour of the covered samples, with the covered share as alpha.
void RenderSupersampled(Image& img, int x0, int y0, int x1, int y1, int n,
                        const SampleShader& shader);

// Signed distances (negative inside), in the same units as the point.
float SdCircle(float px, float py, float cx, float cy, float r);
float SdRoundBox(float px, float py, float cx, float cy, float hw, float hh, float radius);
float SdSegment(float px, float py, float ax, float ay, float bx, float by);
// A simple polygon given as x0, y0, x1, y1, ...
float SdPolygon(float px, float py, const std::vector<float>& xy);
// A regular star with `points` tips of radius `outer` and notches at `inner`, a tip at the top.
std::vector<float> StarPolygon(float cx, float cy, int points, float outer, float inner);

// A filled shape with an outline band, from a distance function: `fill` inside, `line` within
// `width` of the edge, antialiased with 4 x 4 samples. Drawn over the picture.
void DrawOutlinedShape(Image& img, const std::function<float(float, float)>& sd, Color fill,
                       Color line, float width);

}  // namespace assetgen
