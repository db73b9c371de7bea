// Lettering for the logos: text rendered with FreeType into a coverage mask, a distance
// transform to grow outlines and shadows from it, and box downsampling of large drawings.
#pragma once

#include <string>
#include <vector>

#include "Canvas.h"

namespace assetgen {

struct TextMask {
    int width = 0, height = 0;
    int baseline = 0;             // row of the baseline
    std::vector<float> coverage;  // 0..1 per pixel
    std::vector<int> letter;      // index of the character that covers the pixel most, or -1
    std::vector<int> letterTop, letterBottom;  // ink rows of each character (-1 for blanks)
    float At(int x, int y) const {
        return x < 0 || y < 0 || x >= width || y >= height ? 0.0f : coverage[size_t(y) * width + x];
    }
};

// Renders `text` from the font file at `pixelSize` (em in pixels), with `tracking` extra pixels
// between letters and `margin` empty pixels around the ink. Throws std::runtime_error when the
// font cannot be loaded.
TextMask RenderText(const std::string& fontPath, int pixelSize, const std::string& text,
                    int tracking, int margin);

// The advance width `text` would take at `pixelSize`, with `tracking` between letters.
int MeasureText(const std::string& fontPath, int pixelSize, const std::string& text, int tracking);

// For every pixel, the distance in pixels to the nearest pixel whose coverage is at least 0.5
// (0 on the ink), by an exact Euclidean distance transform. With `fromInside`, the other way
// round: how deep each ink pixel lies, the distance to the nearest pixel off the ink.
std::vector<float> DistanceToInk(const TextMask& mask, bool fromInside = false);

// Shrinks a drawing made `factor` times too large, averaging each factor x factor block.
Image Downsample(const Image& big, int factor);

}  // namespace assetgen
