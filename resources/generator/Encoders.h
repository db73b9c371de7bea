// The file formats the generator writes: GIF89a pictures (one palette per picture), PCM WAVE
// sounds and PNG pictures. Every encoder is deterministic: the same input gives the same bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Canvas.h"

namespace assetgen {

struct PictureFrame {
    Image image;
    int delayCs = 0;   // hundredths of a second
    int disposal = 0;  // GIF disposal: 1 leave in place, 2 clear to background
};

struct Picture {
    std::string name;  // the stored (upper-case) resource name
    std::vector<PictureFrame> frames;
    bool loops = false;        // ask viewers to repeat for ever
    bool transparent = false;  // reserve one palette index for fully transparent pixels
    // Pixels only partly covered are mixed over this colour before they are made opaque (GIF
    // has no partial transparency): the colour the picture is usually shown on.
    Color matte = Rgb(51, 153, 153);
};

// One frame reduced to what a GIF can hold: 8-bit RGB, and alpha of 0 or 255.
std::vector<uint8_t> FlattenFrame(const Image& image, const Picture& picture);

// A palette of at most `maxColors` colours for the given RGB colours (with their pixel counts),
// by median cut followed by a few refinement passes.
std::vector<uint32_t> BuildPalette(const std::vector<std::pair<uint32_t, uint32_t>>& histogram,
                                   size_t maxColors);

// Encodes the picture as an animated GIF89a; throws std::runtime_error on an encoder error.
std::vector<uint8_t> EncodeGif(const Picture& picture);

// A RIFF WAVE file of one channel at 11025 samples a second, 8-bit (unsigned) or 16-bit
// (signed), from samples in -1..1 (values outside are clipped).
std::vector<uint8_t> EncodeWav(const std::vector<float>& samples, int bitsPerSample);

// Writes 8-bit RGBA pixels as a PNG file; throws std::runtime_error on failure.
void WritePng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgba);

// Image to 8-bit RGBA, each pixel laid over `background` (use alpha 0 to keep transparency).
std::vector<uint8_t> ToRgba8(const Image& image, Color background);

}  // namespace assetgen
