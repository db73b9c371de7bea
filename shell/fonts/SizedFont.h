// A face at one pixel size and style: measures and draws Latin-1 text. Glyphs are placed the
// way the game's layout has always been measured (whole-pixel advances, kerning kept in 1/64
// pixel, ink that hangs left of the start moves the line right) and each glyph is rasterised
// once, when it is first drawn.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "shell/fonts/TrueTypeFace.h"

namespace shell::fonts {

struct Box {
    int x = 0, y = 0, w = 0, h = 0;
};

// Pixels to blend into: rows of 0xAARRGGBB, `stride` pixels apart.
struct PixelTarget {
    uint32_t* pixels = nullptr;
    int width = 0, height = 0;
    size_t stride = 0;
};

struct FontStyle {
    bool bold = false;    // thicken the strokes: for a family with no bold file
    bool italic = false;  // slant the glyphs: for a family with no italic file
    bool underline = false;
};

class SizedFont {
public:
    SizedFont(std::shared_ptr<const TrueTypeFace> face, int pixelSize, FontStyle style);

    int Height() const { return height_; }  // of the line box
    int Ascent() const { return ascent_; }  // from the top of the line box to the baseline
    // Width of the line box of `text`.
    int Measure(std::string_view text);
    // Blends `text` in colour `rgb` (0xRRGGBB) with the top-left of its line box at (x, y), cut
    // to the line box; returns the bounds of the pixels that changed (empty when none did, as
    // for text drawn again over itself on opaque paper).
    Box Draw(const PixelTarget& target, std::string_view text, int x, int y, uint32_t rgb);

private:
    struct Glyph {
        bool measured = false, rasterised = false, ink = false;
        int index = 0, advance = 0;   // advance in whole pixels
        int x0 = 0, y0 = 0, w = 0, h = 0;  // ink box from the pen position on the baseline
        std::vector<uint8_t> coverage;
    };
    struct Placed {
        Glyph* glyph;
        int x;  // pen position, whole pixels from the line's origin
    };

    Glyph& Measured(uint8_t character);
    void Rasterise(Glyph& glyph);
    std::vector<OutlinePoint> Shape(int index) const;
    // A height in font units moved so the letters' common heights fall on whole pixels.
    int Snapped(int y) const;
    // Places `text`; the line box is [0, width) and its origin sits `shift` pixels in.
    std::vector<Placed> Place(std::string_view text, int* width, int* shift);

    std::shared_ptr<const TrueTypeFace> face_;
    int size_;
    FontStyle style_;
    int64_t scale16_;  // 26.6 pixels per font unit in 16.16, rounded as font engines round it
    double scale_;     // pixels per font unit
    int64_t kernScale_;
    int ascent_ = 0, height_ = 0, underlineTop_ = 0, underlineRows_ = 1, boldExtra_ = 0;
    // Font units and the pixel height each is drawn at, rising; between them heights are
    // interpolated, outside them scaled plainly.
    std::vector<std::pair<int, double>> zones_;
    std::array<Glyph, 256> glyphs_;
};

}  // namespace shell::fonts
