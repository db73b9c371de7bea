// The board tiles, the move-clock's mini bubble and the check box.
#include <cmath>

#include "Art.h"

namespace assetgen {
namespace {

struct TileLook {
    Color line, rim, top, bottom, shine;
};


const TileLook kPlainTile{Rgb(74, 124, 128), Rgb(140, 178, 182), Rgb(178, 208, 210),
                          Rgb(214, 234, 234), Rgb(236, 246, 246)};
const Color kFreeMoveLine = Rgb(168, 118, 30);
const Color kGoldInner = Rgb(255, 226, 120), kGoldOuter = Rgb(246, 184, 48);

}  // namespace

Image BoardTile(bool freeMoves) {
    Image tile(kTileSize, kTileSize, freeMoves ? kFreeMoveLine : kPlainTile.line);
    // A rounded well inside a one-pixel grid line; neighbouring tiles share that line.
    RenderSupersampled(tile, 0, 0, kTileSize, kTileSize, 4, [&](float x, float y, Color* out) {
        const float d = SdRoundBox(x, y, 18, 18, 17, 17, 5);
        if (d > 0) return false;
        // Shadow of the rim along the top and left inside edges: the well is sunk.
        const float rimShadow = SmoothStep(-3.5f, 0.0f, SdRoundBox(x + 1.2f, y + 1.2f, 18, 18, 17, 17, 5));
        Color c = Mix(kPlainTile.top, kPlainTile.bottom, SmoothStep(3, 33, y));
        c = Mix(c, kPlainTile.rim, 0.8f * rimShadow);
        // A soft reflection in the lower right of the well.
        const float shine = 1 - SmoothStep(0, 1, std::hypot((x - 24) / 12, (y - 27) / 7));
        c = Mix(c, kPlainTile.shine, 0.5f * shine);
        if (freeMoves) {
            // Free moves light up the corners in gold. The middle of the well, where a bubble
            // sits, stays as on the plain tile, so a pop can cover a bubble on either tile.
            const float glow = SmoothStep(kSharedRadius, kSharedRadius + 2.8f, std::hypot(x - 18, y - 18));
            c = Mix(c, Mix(kGoldInner, kGoldOuter, SmoothStep(18, 23, std::hypot(x - 18, y - 18))), glow);
        }
        *out = c;
        return true;
    });
    if (freeMoves) {  // and little glints sit in two of them
        const float spots[2][2] = {{4.6f, 4.6f}, {31.4f, 31.4f}};
        for (const auto& s : spots) {
            DrawOutlinedShape(tile, [&](float x, float y) {
                return SdPolygon(x, y, StarPolygon(s[0], s[1], 4, 2.8f, 0.9f));
            }, Rgb(255, 255, 255), Rgb(226, 168, 40), 0.5f);
        }
    }
    return tile;
}

Color TileMatte() { return Mix(kPlainTile.top, kPlainTile.bottom, 0.5f); }

Picture MakeBoardTiles() {
    Picture picture;
    picture.name = "P-IMG-BUBBLEBG";
    picture.frames.push_back({BoardTile(false), 0, 1});
    picture.frames.push_back({BoardTile(true), 0, 1});
    return picture;
}

Picture MakeMiniBubble() {
    Picture picture;
    picture.name = "P-MINI-BUBBLE.GIF";
    picture.transparent = true;  // drawn on the teal canvas
    Image img(10, 10);
    DrawBubble(img, 5, 5, 4.7f, Rgb(255, 178, 30), 0.0f, -1);
    picture.frames.push_back({img, 0, 1});
    return picture;
}

Picture MakeCheckBox() {
    Picture picture;
    picture.name = "CHECKBOX.GIF";
    picture.transparent = true;
    // Frame 0: the empty box. Frame 1 holds only the tick and is laid over frame 0.
    Image box(20, 19);
    RenderSupersampled(box, 0, 0, 20, 19, 4, [&](float x, float y, Color* out) {
        const float d = SdRoundBox(x, y, 8.5f, 11, 7.5f, 7.5f, 2.5f);
        if (d > 0) return false;
        if (d > -1.3f) {
            *out = Rgb(0, 51, 51);
            return true;
        }
        const float inset = SmoothStep(-3.5f, -1.3f, SdRoundBox(x + 1, y + 1, 8.5f, 11, 7.5f, 7.5f, 2.5f));
        *out = Mix(Mix(Rgb(255, 255, 255), Rgb(214, 232, 232), SmoothStep(4, 18, y)),
                   Rgb(160, 190, 192), 0.7f * inset);
        return true;
    });
    Image tick(20, 19);
    auto tickDistance = [](float x, float y) {
        return std::min(SdSegment(x, y, 4.2f, 10.6f, 8.2f, 14.8f), SdSegment(x, y, 8.2f, 14.8f, 17.4f, 2.6f));
    };
    RenderSupersampled(tick, 0, 0, 20, 19, 4, [&](float x, float y, Color* out) {
        const float d = tickDistance(x, y);
        if (d > 2.6f) return false;
        *out = d > 1.55f ? Rgb(8, 74, 30) : Mix(Rgb(92, 214, 90), Rgb(36, 160, 60), SmoothStep(2, 16, y));
        return true;
    });
    picture.frames.push_back({box, 0, 1});
    picture.frames.push_back({tick, 0, 1});
    return picture;
}

}  // namespace assetgen
