// GIF (giflib), WAVE and PNG (libpng) encoders, and the median-cut palette builder.
#include "Encoders.h"

#include <gif_lib.h>
#include <png.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <numeric>
#include <stdexcept>
#include <unordered_map>

namespace assetgen {
namespace {

uint8_t ToByte(float v) { return uint8_t(std::lround(Clamp01(v) * 255.0f)); }

void PushPixel(std::vector<uint8_t>& out, uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    out.push_back(r);
    out.push_back(g);
    out.push_back(b);
    out.push_back(a);
}

int Channel(uint32_t rgb, int c) { return int((rgb >> (16 - 8 * c)) & 0xFF); }

uint32_t PackRgb(int r, int g, int b) { return uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b); }

// Squared distance with the eye's rough weights (green counts most, blue least).
int Distance(uint32_t a, uint32_t b) {
    const int dr = Channel(a, 0) - Channel(b, 0);
    const int dg = Channel(a, 1) - Channel(b, 1);
    const int db = Channel(a, 2) - Channel(b, 2);
    return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

size_t Nearest(const std::vector<uint32_t>& palette, uint32_t rgb) {
    size_t best = 0;
    int bestDistance = Distance(palette[0], rgb);
    for (size_t i = 1; i < palette.size() && bestDistance > 0; ++i) {
        const int d = Distance(palette[i], rgb);
        if (d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return best;
}

using Entry = std::pair<uint32_t, uint32_t>;  // colour, pixel count

struct Box {
    size_t begin, end;
    int longestChannel = 0;
    int range = 0;
    uint64_t count = 0;
};

Box MeasureBox(const std::vector<Entry>& entries, size_t begin, size_t end) {
    Box box{begin, end};
    std::array<int, 3> lo{255, 255, 255}, hi{0, 0, 0};
    for (size_t i = begin; i < end; ++i) {
        box.count += entries[i].second;
        for (int c = 0; c < 3; ++c) {
            lo[c] = std::min(lo[c], Channel(entries[i].first, c));
            hi[c] = std::max(hi[c], Channel(entries[i].first, c));
        }
    }
    for (int c = 0; c < 3; ++c) {
        if (hi[c] - lo[c] > box.range) {
            box.range = hi[c] - lo[c];
            box.longestChannel = c;
        }
    }
    return box;
}

}  // namespace

std::vector<uint8_t> FlattenFrame(const Image& image, const Picture& picture) {
    std::vector<uint8_t> out;
    out.reserve(size_t(image.Width()) * image.Height() * 4);
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            const Color c = image.At(x, y);
            if (picture.transparent && c.a < 0.5f) {
                PushPixel(out, 0, 0, 0, 0);
                continue;
            }
            const Color solid = Mix(picture.matte, c, Clamp01(c.a));
            PushPixel(out, ToByte(solid.r), ToByte(solid.g), ToByte(solid.b), 255);
        }
    }
    return out;
}

std::vector<uint32_t> BuildPalette(const std::vector<Entry>& histogram, size_t maxColors) {
    std::vector<Entry> entries = histogram;
    std::sort(entries.begin(), entries.end());
    if (entries.size() <= maxColors) {
        std::vector<uint32_t> palette;
        for (const Entry& e : entries) palette.push_back(e.first);
        return palette;
    }

    // Median cut: split the box whose widest channel, weighted by its pixels, is largest.
    std::vector<Box> boxes{MeasureBox(entries, 0, entries.size())};
    while (boxes.size() < maxColors) {
        size_t pick = boxes.size();
        double bestScore = 0;
        for (size_t i = 0; i < boxes.size(); ++i) {
            if (boxes[i].end - boxes[i].begin < 2) continue;
            const double score = boxes[i].range * std::sqrt(double(boxes[i].count));
            if (score > bestScore) {
                bestScore = score;
                pick = i;
            }
        }
        if (pick == boxes.size()) break;
        const Box box = boxes[pick];
        const int c = box.longestChannel;
        std::sort(entries.begin() + long(box.begin), entries.begin() + long(box.end),
                  [c](const Entry& a, const Entry& b) {
                      const int ca = Channel(a.first, c), cb = Channel(b.first, c);
                      return ca != cb ? ca < cb : a.first < b.first;
                  });
        uint64_t half = 0;
        size_t split = box.begin + 1;
        for (size_t i = box.begin; i < box.end - 1; ++i) {
            half += entries[i].second;
            split = i + 1;
            if (half * 2 >= box.count) break;
        }
        boxes[pick] = MeasureBox(entries, box.begin, split);
        boxes.push_back(MeasureBox(entries, split, box.end));
    }

    std::vector<uint32_t> palette;
    for (const Box& box : boxes) {
        std::array<double, 3> sum{};
        for (size_t i = box.begin; i < box.end; ++i)
            for (int c = 0; c < 3; ++c) sum[c] += double(Channel(entries[i].first, c)) * entries[i].second;
        palette.push_back(PackRgb(int(std::lround(sum[0] / box.count)),
                                  int(std::lround(sum[1] / box.count)),
                                  int(std::lround(sum[2] / box.count))));
    }

    // A few rounds of moving each palette colour to the mean of the colours mapped to it.
    for (int round = 0; round < 3; ++round) {
        std::vector<std::array<double, 4>> acc(palette.size());
        for (const Entry& e : entries) {
            auto& a = acc[Nearest(palette, e.first)];
            for (int c = 0; c < 3; ++c) a[c] += double(Channel(e.first, c)) * e.second;
            a[3] += e.second;
        }
        for (size_t i = 0; i < palette.size(); ++i) {
            if (acc[i][3] == 0) continue;
            palette[i] = PackRgb(int(std::lround(acc[i][0] / acc[i][3])),
                                 int(std::lround(acc[i][1] / acc[i][3])),
                                 int(std::lround(acc[i][2] / acc[i][3])));
        }
    }
    return palette;
}

namespace {

int WriteToVector(GifFileType* gif, const GifByteType* data, int length) {
    auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
    out->insert(out->end(), data, data + length);
    return length;
}

void Check(int result, GifFileType* gif, const char* what) {
    if (result == GIF_OK) return;
    throw std::runtime_error(std::string("GIF encoder: ") + what + ": " +
                             (GifErrorString(gif->Error) ? GifErrorString(gif->Error) : "?"));
}

}  // namespace

std::vector<uint8_t> EncodeGif(const Picture& picture) {
    if (picture.frames.empty()) throw std::runtime_error(picture.name + ": no frames");
    const int width = picture.frames[0].image.Width();
    const int height = picture.frames[0].image.Height();

    std::vector<std::vector<uint8_t>> flat;
    std::map<uint32_t, uint32_t> counts;
    for (const PictureFrame& frame : picture.frames) {
        flat.push_back(FlattenFrame(frame.image, picture));
        const auto& px = flat.back();
        for (size_t i = 0; i < px.size(); i += 4)
            if (px[i + 3] != 0) ++counts[PackRgb(px[i], px[i + 1], px[i + 2])];
    }
    const int transparentIndex = picture.transparent ? 0 : -1;
    const std::vector<Entry> histogram(counts.begin(), counts.end());
    std::vector<uint32_t> palette = BuildPalette(histogram, picture.transparent ? 255 : 256);

    std::array<GifColorType, 256> colors{};
    const size_t first = picture.transparent ? 1 : 0;
    if (picture.transparent) {  // shown by viewers that ignore transparency
        colors[0] = {ToByte(picture.matte.r), ToByte(picture.matte.g), ToByte(picture.matte.b)};
    }
    for (size_t i = 0; i < palette.size(); ++i) {
        colors[first + i] = {GifByteType(Channel(palette[i], 0)), GifByteType(Channel(palette[i], 1)),
                             GifByteType(Channel(palette[i], 2))};
    }
    std::unordered_map<uint32_t, uint8_t> lookup;
    for (const Entry& e : histogram) lookup[e.first] = uint8_t(first + Nearest(palette, e.first));

    std::vector<uint8_t> out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, WriteToVector, &error);
    if (gif == nullptr) throw std::runtime_error("GIF encoder: cannot open");
    EGifSetGifVersion(gif, true);
    ColorMapObject* map = GifMakeMapObject(256, colors.data());
    try {
        Check(EGifPutScreenDesc(gif, width, height, 8, std::max(transparentIndex, 0), map), gif,
              "screen");
        if (picture.loops) {
            static const char kApplication[] = "NETSCAPE2.0";
            const GifByteType loop[3] = {1, 0, 0};  // sub-block 1: repeat count 0, for ever
            Check(EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE), gif, "loop");
            Check(EGifPutExtensionBlock(gif, 11, kApplication), gif, "loop");
            Check(EGifPutExtensionBlock(gif, 3, loop), gif, "loop");
            Check(EGifPutExtensionTrailer(gif), gif, "loop");
        }
        std::vector<GifPixelType> line(static_cast<size_t>(width));
        for (size_t f = 0; f < picture.frames.size(); ++f) {
            GraphicsControlBlock gcb{};
            gcb.DisposalMode = picture.frames[f].disposal;
            gcb.UserInputFlag = false;
            gcb.DelayTime = picture.frames[f].delayCs;
            gcb.TransparentColor = picture.transparent ? transparentIndex : NO_TRANSPARENT_COLOR;
            GifByteType extension[4];
            EGifGCBToExtension(&gcb, extension);
            Check(EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, extension), gif, "control");
            Check(EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr), gif, "image");
            const auto& px = flat[f];
            for (int y = 0; y < height; ++y) {
                for (int x = 0; x < width; ++x) {
                    const uint8_t* p = &px[(size_t(y) * width + x) * 4];
                    line[size_t(x)] = p[3] == 0 ? GifPixelType(transparentIndex)
                                                : lookup.at(PackRgb(p[0], p[1], p[2]));
                }
                Check(EGifPutLine(gif, line.data(), width), gif, "pixels");
            }
        }
    } catch (...) {
        GifFreeMapObject(map);
        EGifCloseFile(gif, &error);
        throw;
    }
    GifFreeMapObject(map);
    if (EGifCloseFile(gif, &error) != GIF_OK) throw std::runtime_error("GIF encoder: close");
    return out;
}

std::vector<uint8_t> EncodeWav(const std::vector<float>& samples, int bitsPerSample) {
    const uint32_t rate = 11025;
    const uint32_t bytesPerSample = uint32_t(bitsPerSample / 8);
    const uint32_t dataSize = uint32_t(samples.size()) * bytesPerSample;
    std::vector<uint8_t> out;
    out.reserve(44 + dataSize + 1);
    auto put = [&out](uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(v >> (8 * i)));
    };
    auto tag = [&out](const char* t) {
        for (int i = 0; i < 4; ++i) out.push_back(uint8_t(t[i]));
    };
    tag("RIFF");
    put(36 + dataSize + (dataSize & 1), 4);
    tag("WAVE");
    tag("fmt ");
    put(16, 4);
    put(1, 2);  // PCM
    put(1, 2);  // one channel
    put(rate, 4);
    put(rate * bytesPerSample, 4);
    put(bytesPerSample, 2);
    put(uint32_t(bitsPerSample), 2);
    tag("data");
    put(dataSize, 4);
    for (float s : samples) {
        const float v = std::clamp(s, -1.0f, 1.0f);
        if (bitsPerSample == 8) {
            out.push_back(uint8_t(std::clamp(128 + int(std::lround(v * 127)), 0, 255)));
        } else {
            put(uint16_t(int16_t(std::lround(v * 32767))), 2);
        }
    }
    if (dataSize & 1) out.push_back(0);  // chunks are padded to an even length
    return out;
}

void WritePng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgba) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(width);
    image.height = png_uint_32(height);
    image.format = PNG_FORMAT_RGBA;
    if (!png_image_write_to_file(&image, path.c_str(), 0, rgba.data(), 0, nullptr)) {
        throw std::runtime_error("cannot write " + path + ": " + image.message);
    }
}

std::vector<uint8_t> ToRgba8(const Image& image, Color background) {
    std::vector<uint8_t> out;
    out.reserve(size_t(image.Width()) * image.Height() * 4);
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            const Color c = Over(image.At(x, y), background);
            PushPixel(out, ToByte(c.r), ToByte(c.g), ToByte(c.b), ToByte(c.a));
        }
    }
    return out;
}

}  // namespace assetgen
