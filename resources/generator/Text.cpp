// FreeType text masks, distance transform and downsampling.
#include "Text.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <limits>
#include <memory>
#include <stdexcept>

namespace assetgen {
namespace {

struct FaceHolder {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    FaceHolder(const std::string& path, int pixelSize) {
        if (FT_Init_FreeType(&library) != 0) throw std::runtime_error("FreeType: cannot start");
        if (FT_New_Face(library, path.c_str(), 0, &face) != 0) {
            FT_Done_FreeType(library);
            throw std::runtime_error("FreeType: cannot open " + path);
        }
        FT_Set_Pixel_Sizes(face, 0, FT_UInt(pixelSize));
    }
    ~FaceHolder() {
        FT_Done_Face(face);
        FT_Done_FreeType(library);
    }
    FaceHolder(const FaceHolder&) = delete;
    FaceHolder& operator=(const FaceHolder&) = delete;
};

struct Placed {
    int x;  // pen position in pixels
    FT_UInt glyph;
};

std::vector<Placed> Layout(FT_Face face, const std::string& text, int tracking, int* advance) {
    std::vector<Placed> placed;
    long pen = 0;  // 26.6 fixed point
    FT_UInt previous = 0;
    for (unsigned char ch : text) {
        const FT_UInt glyph = FT_Get_Char_Index(face, ch);
        if (previous != 0 && FT_HAS_KERNING(face)) {
            FT_Vector kern;
            FT_Get_Kerning(face, previous, glyph, FT_KERNING_DEFAULT, &kern);
            pen += kern.x;
        }
        placed.push_back({int(pen >> 6), glyph});
        FT_Load_Glyph(face, glyph, FT_LOAD_DEFAULT);
        pen += face->glyph->advance.x + tracking * 64;
        previous = glyph;
    }
    *advance = int((pen - tracking * 64) >> 6);
    return placed;
}

// One-dimensional squared distance transform (Felzenszwalb and Huttenlocher).
void Transform1D(const std::vector<double>& f, std::vector<double>& d, int n) {
    std::vector<int> v(static_cast<size_t>(n));
    std::vector<double> z(static_cast<size_t>(n) + 1);
    const double inf = std::numeric_limits<double>::infinity();
    int k = 0;
    v[0] = 0;
    z[0] = -inf;
    z[1] = inf;
    auto meet = [&](int q, int p) {
        return ((f[q] + double(q) * q) - (f[p] + double(p) * p)) / (2.0 * q - 2.0 * p);
    };
    for (int q = 1; q < n; ++q) {
        double s = meet(q, v[k]);
        while (s <= z[k]) {  // z[0] is minus infinity, so k never drops below 0
            --k;
            s = meet(q, v[k]);
        }
        ++k;
        v[k] = q;
        z[k] = s;
        z[k + 1] = inf;
    }
    k = 0;
    for (int q = 0; q < n; ++q) {
        while (z[k + 1] < q) ++k;
        d[q] = double(q - v[k]) * (q - v[k]) + f[v[k]];
    }
}

}  // namespace

int MeasureText(const std::string& fontPath, int pixelSize, const std::string& text, int tracking) {
    FaceHolder holder(fontPath, pixelSize);
    int advance = 0;
    Layout(holder.face, text, tracking, &advance);
    return advance;
}

TextMask RenderText(const std::string& fontPath, int pixelSize, const std::string& text,
                    int tracking, int margin) {
    FaceHolder holder(fontPath, pixelSize);
    FT_Face face = holder.face;
    int advance = 0;
    const std::vector<Placed> placed = Layout(face, text, tracking, &advance);
    const int ascent = int(face->size->metrics.ascender >> 6);
    const int descent = int(-face->size->metrics.descender >> 6);

    TextMask mask;
    mask.width = advance + 2 * margin + pixelSize / 4;  // room for overhanging ink
    mask.height = ascent + descent + 2 * margin;
    mask.baseline = margin + ascent;
    mask.coverage.assign(size_t(mask.width) * mask.height, 0.0f);
    mask.letter.assign(mask.coverage.size(), -1);
    mask.letterTop.assign(placed.size(), -1);
    mask.letterBottom.assign(placed.size(), -1);
    for (size_t i = 0; i < placed.size(); ++i) {
        if (FT_Load_Glyph(face, placed[i].glyph, FT_LOAD_DEFAULT) != 0 ||
            FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0) {
            continue;
        }
        const FT_Bitmap& bitmap = face->glyph->bitmap;
        const int left = margin + placed[i].x + face->glyph->bitmap_left;
        const int top = mask.baseline - face->glyph->bitmap_top;
        for (unsigned row = 0; row < bitmap.rows; ++row) {
            for (unsigned col = 0; col < bitmap.width; ++col) {
                const int x = left + int(col), y = top + int(row);
                if (x < 0 || y < 0 || x >= mask.width || y >= mask.height) continue;
                const float value = bitmap.buffer[row * unsigned(bitmap.pitch) + col] / 255.0f;
                if (value <= 0) continue;
                const size_t at = size_t(y) * mask.width + x;
                if (value > mask.coverage[at]) mask.letter[at] = int(i);
                mask.coverage[at] = std::min(1.0f, std::max(mask.coverage[at], value));
                if (mask.letterTop[i] < 0 || y < mask.letterTop[i]) mask.letterTop[i] = y;
                mask.letterBottom[i] = std::max(mask.letterBottom[i], y);
            }
        }
    }
    return mask;
}

std::vector<float> DistanceToInk(const TextMask& mask, bool fromInside) {
    const int w = mask.width, h = mask.height;
    const double far = 1e12;
    std::vector<double> grid(size_t(w) * h);
    for (size_t i = 0; i < grid.size(); ++i) {
        grid[i] = (mask.coverage[i] >= 0.5f) != fromInside ? 0 : far;
    }
    const int n = std::max(w, h);
    std::vector<double> f(static_cast<size_t>(n)), d(static_cast<size_t>(n));
    for (int x = 0; x < w; ++x) {
        for (int y = 0; y < h; ++y) f[y] = grid[size_t(y) * w + x];
        Transform1D(f, d, h);
        for (int y = 0; y < h; ++y) grid[size_t(y) * w + x] = d[y];
    }
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) f[x] = grid[size_t(y) * w + x];
        Transform1D(f, d, w);
        for (int x = 0; x < w; ++x) grid[size_t(y) * w + x] = d[x];
    }
    std::vector<float> distance(grid.size());
    for (size_t i = 0; i < grid.size(); ++i) distance[i] = float(std::sqrt(grid[i]));
    return distance;
}

Image Downsample(const Image& big, int factor) {
    Image small(big.Width() / factor, big.Height() / factor);
    for (int y = 0; y < small.Height(); ++y) {
        for (int x = 0; x < small.Width(); ++x) {
            float r = 0, g = 0, b = 0, a = 0;
            for (int sy = 0; sy < factor; ++sy) {
                for (int sx = 0; sx < factor; ++sx) {
                    const Color c = big.At(x * factor + sx, y * factor + sy);
                    r += c.r * c.a;
                    g += c.g * c.a;
                    b += c.b * c.a;
                    a += c.a;
                }
            }
            if (a > 0) small.At(x, y) = {r / a, g / a, b / a, a / float(factor * factor)};
        }
    }
    return small;
}

}  // namespace assetgen
