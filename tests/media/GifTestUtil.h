// Builds small GIF files in memory with giflib's encoder, for decoder tests.
#pragma once

#include <gif_lib.h>

#include <cstdint>
#include <stdexcept>
#include <vector>

namespace gif_test {

struct Rgb {
    uint8_t r, g, b;
};

struct FrameRecipe {
    int left = 0, top = 0, width = 0, height = 0;
    std::vector<uint8_t> pixels;  // colour indices, rows top-down
    int delayCs = 0;
    int disposal = 0;
    int transparent = -1;
    bool interlace = false;
    std::vector<Rgb> localMap;    // empty: use the global map
    bool control = true;          // write a graphic control block
};

struct GifRecipe {
    int width = 0, height = 0;
    std::vector<Rgb> globalMap;   // power-of-two size, or empty for none
    std::vector<FrameRecipe> frames;
    int loopCount = -1;           // -1: no loop block
};

inline int WriteToVector(GifFileType* gif, const GifByteType* data, int size) {
    auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
    out->insert(out->end(), data, data + size);
    return size;
}

inline ColorMapObject* MakeMap(const std::vector<Rgb>& colours) {
    if (colours.empty()) return nullptr;
    std::vector<GifColorType> entries;
    for (const Rgb& c : colours) entries.push_back(GifColorType{c.r, c.g, c.b});
    return GifMakeMapObject(static_cast<int>(entries.size()), entries.data());
}

inline std::vector<uint8_t> BuildGif(const GifRecipe& recipe) {
    std::vector<uint8_t> bytes;
    int error = 0;
    GifFileType* gif = EGifOpen(&bytes, WriteToVector, &error);
    if (gif == nullptr) throw std::runtime_error("EGifOpen failed");
    EGifSetGifVersion(gif, true);
    ColorMapObject* global = MakeMap(recipe.globalMap);
    if (EGifPutScreenDesc(gif, recipe.width, recipe.height, 8, 0, global) == GIF_ERROR) {
        throw std::runtime_error("EGifPutScreenDesc failed");
    }
    GifFreeMapObject(global);
    if (recipe.loopCount >= 0) {
        const GifByteType loop[3] = {1, static_cast<GifByteType>(recipe.loopCount & 0xff),
                                     static_cast<GifByteType>(recipe.loopCount >> 8)};
        EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE);
        EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0");
        EGifPutExtensionBlock(gif, 3, loop);
        EGifPutExtensionTrailer(gif);
    }
    for (const FrameRecipe& f : recipe.frames) {
        if (f.control) {
            GraphicsControlBlock gcb{f.disposal, false, f.delayCs, f.transparent};
            GifByteType block[4];
            size_t length = EGifGCBToExtension(&gcb, block);
            EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), block);
        }
        ColorMapObject* local = MakeMap(f.localMap);
        if (EGifPutImageDesc(gif, f.left, f.top, f.width, f.height, f.interlace, local) ==
            GIF_ERROR) {
            throw std::runtime_error("EGifPutImageDesc failed");
        }
        GifFreeMapObject(local);
        std::vector<int> rows;
        if (f.interlace) {
            const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
            for (int p = 0; p < 4; ++p)
                for (int r = start[p]; r < f.height; r += step[p]) rows.push_back(r);
        } else {
            for (int r = 0; r < f.height; ++r) rows.push_back(r);
        }
        for (int r : rows) {
            std::vector<GifPixelType> line(f.pixels.begin() + r * f.width,
                                           f.pixels.begin() + (r + 1) * f.width);
            if (EGifPutLine(gif, line.data(), f.width) == GIF_ERROR) {
                throw std::runtime_error("EGifPutLine failed");
            }
        }
    }
    if (EGifCloseFile(gif, &error) == GIF_ERROR) throw std::runtime_error("EGifCloseFile failed");
    return bytes;
}

// A frame of one colour index.
inline FrameRecipe Solid(int left, int top, int width, int height, uint8_t index) {
    FrameRecipe f;
    f.left = left;
    f.top = top;
    f.width = width;
    f.height = height;
    f.pixels.assign(static_cast<size_t>(width * height), index);
    return f;
}

}  // namespace gif_test
