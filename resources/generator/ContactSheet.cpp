// Contact sheet layout and the small GIF reader it needs.
#include "ContactSheet.h"

#include <gif_lib.h>

#include <cstring>
#include <stdexcept>

#include "Art.h"
#include "Encoders.h"
#include "Text.h"

namespace assetgen {
namespace {

struct Reader {
    const std::vector<uint8_t>* data;
    size_t at = 0;
};

int ReadFromVector(GifFileType* gif, GifByteType* out, int length) {
    auto* r = static_cast<Reader*>(gif->UserData);
    const size_t n = std::min(size_t(length), r->data->size() - r->at);
    std::memcpy(out, r->data->data() + r->at, n);
    r->at += n;
    return int(n);
}

const Color kTeal = Rgb(51, 153, 153);

}  // namespace

std::vector<Image> DecodeFrames(const std::vector<uint8_t>& bytes) {
    Reader reader{&bytes};
    int error = 0;
    GifFileType* gif = DGifOpen(&reader, ReadFromVector, &error);
    if (gif == nullptr || DGifSlurp(gif) != GIF_OK) {
        if (gif) DGifCloseFile(gif, &error);
        throw std::runtime_error("cannot read back a generated GIF");
    }
    std::vector<Image> frames;
    Image screen(gif->SWidth, gif->SHeight);
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& saved = gif->SavedImages[i];
        GraphicsControlBlock gcb{};
        DGifSavedExtensionToGCB(gif, i, &gcb);
        const ColorMapObject* map = saved.ImageDesc.ColorMap ? saved.ImageDesc.ColorMap : gif->SColorMap;
        const GifImageDesc& d = saved.ImageDesc;
        for (int y = 0; y < d.Height; ++y) {
            for (int x = 0; x < d.Width; ++x) {
                const int index = saved.RasterBits[y * d.Width + x];
                if (index == gcb.TransparentColor) continue;
                const GifColorType c = map->Colors[index];
                screen.At(d.Left + x, d.Top + y) = Rgb(c.Red, c.Green, c.Blue);
            }
        }
        frames.push_back(screen);
        if (gcb.DisposalMode == DISPOSE_BACKGROUND) {
            for (int y = 0; y < d.Height; ++y)
                for (int x = 0; x < d.Width; ++x) screen.At(d.Left + x, d.Top + y) = Color{};
        }
    }
    DGifCloseFile(gif, &error);
    return frames;
}

void WriteContactSheet(const std::string& path, const std::map<std::string, std::vector<uint8_t>>& gifs,
                       const std::string& fontPath, int zoom) {
    auto frames = [&](const std::string& name) { return DecodeFrames(gifs.at(name)); };
    const std::vector<Image> tiles = frames("P-IMG-BUBBLEBG");
    const int pitch = 38, left = 84;

    Image sheet(left + 8 * 86 + 12, 1290, kTeal);
    auto label = [&](const std::string& text, int x, int y) {
        const TextMask mask = RenderText(fontPath, 11, text, 0, 0);
        for (int my = 0; my < mask.height; ++my)
            for (int mx = 0; mx < mask.width; ++mx)
                sheet.Blend(x + mx, y + my, Rgb(255, 255, 255, mask.At(mx, my)));
    };
    // A row of frames, each on a tile (when `onTile` is 0 or 1), optionally over `under`.
    auto row = [&](const std::vector<Image>& list, int x, int y, int onTile, const Image* under) {
        for (const Image& frame : list) {
            if (onTile >= 0) sheet.Draw(tiles[size_t(onTile)], x, y);
            const int inset = onTile >= 0 ? 2 : 0;
            if (under) sheet.Draw(*under, x + inset, y + inset);
            sheet.Draw(frame, x + inset, y + inset);
            x += onTile >= 0 ? pitch : frame.Width() + 6;
        }
    };

    int y = 10;
    for (int set = 0; set < 2; ++set) {
        for (int kind = 0; kind < kBubbleColors; ++kind) {
            const std::string name = set == 0 ? BubbleName(kind) : SymbolBubbleName(kind);
            label(set == 0 ? "Bubble " + std::to_string(kind) : "Symbol " + std::to_string(kind), 6, y + 12);
            const std::vector<Image> list = frames(name);
            row(list, left, y, 0, nullptr);
            row(list, left + 8 * pitch + 12, y, 1, nullptr);
            y += pitch;
        }
        y += 8;
    }
    label("Bubble 8", 6, y + 12);
    const std::vector<Image> spawn = frames(BubbleName(8));
    row(spawn, left, y, 0, nullptr);
    row(spawn, left + 8 * pitch + 12, y, 1, nullptr);
    y += pitch + 8;
    const std::vector<Image> pop = frames(BubbleName(9));
    const Image under = frames(BubbleName(0))[0];
    for (int tile = 0; tile < 2; ++tile) {
        label(tile ? "Pop (free)" : "Pop", 6, y + 12);
        row(pop, left, y, tile, &under);
        y += pitch;
    }
    y += 8;

    label("Tiles", 6, y + 12);
    row(tiles, left, y, -1, nullptr);
    int x = left + 2 * 42 + 20;
    const Image mini = frames("P-MINI-BUBBLE.GIF")[0];
    for (int i = 0; i < 6; ++i) sheet.Draw(mini, x, y + 30 - 10 * i + 14);
    x += 30;
    const std::vector<Image> box = frames("CHECKBOX.GIF");
    row(box, x, y + 8, -1, nullptr);
    x += 60;
    row(frames("P-IMG-GAMELOGO.GIF"), x, y, -1, nullptr);
    y += 76;

    label("Sampler", 6, y + 12);
    const std::vector<Image> sampler = frames("P-MINI-SAMPLER.GIF");
    for (size_t i = 0; i < sampler.size(); ++i) {
        sheet.Draw(sampler[i], left + int(i % 8) * 86, y + int(i / 8) * 86);
    }
    y += 3 * 86 + 6;
    label("Logo", 6, y + 12);
    row(frames("P-IMG-LOGO-BIG"), left, y, -1, nullptr);
    y += 130;

    Image zoomed(sheet.Width() * zoom, y * zoom);
    for (int zy = 0; zy < zoomed.Height(); ++zy)
        for (int zx = 0; zx < zoomed.Width(); ++zx) zoomed.At(zx, zy) = sheet.At(zx / zoom, zy / zoom);
    WritePng(path, zoomed.Width(), zoomed.Height(), ToRgba8(zoomed, kTeal));
}

}  // namespace assetgen
