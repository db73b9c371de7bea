// The bubbles: eight glossy colours (plain and with symbols), the soap bubble and the pop.
#include <cmath>
#include <cstdio>

#include "Art.h"

namespace assetgen {
namespace {

const Color kWhite = Rgb(255, 255, 255);

// Far apart in hue for most eyes and in lightness for everyone: the yellow and sky bubbles
// are light, the blue and charcoal ones dark, the others in between at distinct steps.
const Color kPalette[kBubbleColors] = {
    Rgb(222, 40, 44),    // red
    Rgb(252, 212, 36),   // yellow
    Rgb(28, 82, 206),    // blue
    Rgb(22, 168, 110),   // green
    Rgb(178, 74, 200),   // purple
    Rgb(250, 140, 22),   // orange
    Rgb(96, 204, 246),   // sky
    Rgb(62, 64, 78),     // charcoal
};

// Distance to kind `symbol`'s mark, in pixels around the bubble's centre; `s` is its size.
float SymbolDistance(int symbol, float x, float y, float s) {
    switch (symbol) {
        case 0: {  // heart
            const float lobes = std::min(SdCircle(x, y, -0.44f * s, -0.3f * s, 0.52f * s),
                                         SdCircle(x, y, 0.44f * s, -0.3f * s, 0.52f * s));
            const std::vector<float> tip{-0.9f * s, -0.1f * s, 0.0f, -0.42f * s, 0.9f * s, -0.1f * s,
                                         0.0f, 0.95f * s};
            return std::min(lobes, SdPolygon(x, y, tip));
        }
        case 1:  // star
            return SdPolygon(x, y, StarPolygon(0, 0.08f * s, 5, 1.08f * s, 0.46f * s));
        case 2:  // square
            return SdRoundBox(x, y, 0, 0, 0.72f * s, 0.72f * s, 0.18f * s);
        case 3:  // triangle
            return SdPolygon(x, y, {0, -0.95f * s, 0.95f * s, 0.72f * s, -0.95f * s, 0.72f * s});
        case 4:  // diamond
            return SdPolygon(x, y, {0, -1.0f * s, 0.78f * s, 0, 0, 1.0f * s, -0.78f * s, 0});
        case 5:  // plus
            return std::min(SdRoundBox(x, y, 0, 0, 0.95f * s, 0.32f * s, 0.1f * s),
                            SdRoundBox(x, y, 0, 0, 0.32f * s, 0.95f * s, 0.1f * s));
        case 6:  // ring
            return std::fabs(SdCircle(x, y, 0, 0, 0.62f * s)) - 0.36f * s;
        default:  // cross
            return std::min(SdSegment(x, y, -0.7f * s, -0.7f * s, 0.7f * s, 0.7f * s),
                            SdSegment(x, y, -0.7f * s, 0.7f * s, 0.7f * s, -0.7f * s)) -
                   0.3f * s;
    }
}

// A soft-edged ellipse: 1 in the middle, falling to 0 at its rim.
float EllipseGlow(float u, float v, float cx, float cy, float rx, float ry, float angle,
                  float softness) {
    const float c = std::cos(angle), s = std::sin(angle);
    const float du = u - cx, dv = v - cy;
    const float a = (du * c + dv * s) / rx, b = (-du * s + dv * c) / ry;
    return 1 - SmoothStep(1 - softness, 1, std::sqrt(a * a + b * b));
}

}  // namespace

Color BubbleColor(int kind) { return kPalette[kind]; }

std::string BubbleName(int kind) { return "P-IMG-BUBBLE" + std::to_string(kind) + ".GIF"; }
std::string SymbolBubbleName(int kind) {
    return "P-IMG-BUBBLESYM" + std::to_string(kind) + ".GIF";
}

void DrawBubble(Image& img, float cx, float cy, float radius, Color base, float phase,
                int symbol) {
    const float angle = 2 * float(M_PI) * phase;
    // The light circles a little around the upper left, so the gloss drifts on the surface.
    const float hx = -0.36f + 0.09f * std::cos(angle), hy = -0.42f + 0.07f * std::sin(angle);
    const float lx = hx * 1.1f, ly = hy * 1.1f;
    const float lz = std::sqrt(std::max(0.0f, 1 - lx * lx - ly * ly));
    const float lightness = Luma(base);
    const Color shadow = Mix(Scale(base, 0.42f), Rgb(20, 16, 48), 0.25f);
    const Color lit = Mix(base, kWhite, 0.38f);
    const Color outline = Mix(Scale(base, 0.3f), Rgb(14, 18, 34), 0.55f);
    const float edge = 1.15f / radius;  // outline width in radii
    const int samples = radius < 8 ? 6 : 4;

    RenderSupersampled(
        img, int(std::floor(cx - radius - 1)), int(std::floor(cy - radius - 1)),
        int(std::ceil(cx + radius + 1)), int(std::ceil(cy + radius + 1)), samples,
        [&](float x, float y, Color* out) {
            const float u = (x - cx) / radius, v = (y - cy) / radius;
            const float d2 = u * u + v * v;
            if (d2 > 1) return false;
            const float d = std::sqrt(d2), nz = std::sqrt(1 - d2);
            const float diffuse = std::max(0.0f, u * lx + v * ly + nz * lz);
            Color c = Mix(shadow, base, SmoothStep(0.0f, 0.75f, diffuse));
            c = Mix(c, lit, 0.55f * SmoothStep(0.8f, 1.0f, diffuse));
            // Light bounced up from the board brightens the lower right rim.
            const float bounce = SmoothStep(0.5f, 0.95f, d) * SmoothStep(0.0f, 0.8f, 0.55f * u + 0.85f * v);
            c = Mix(c, Mix(base, kWhite, 0.3f), 0.5f * bounce);
            if (symbol >= 0) {
                const float sd = SymbolDistance(symbol, x - cx, y - cy + radius * 0.04f, radius * 0.46f);
                if (sd < 0) {
                    const Color ink = Mix(kWhite, base, 0.12f);
                    c = sd > -0.9f ? outline : Mix(ink, Scale(ink, 0.86f), Clamp01(v + 0.3f));
                }
            }
            if (d > 1 - edge) c = outline;
            // The glossy window reflection and its sharp hot spot.
            const float gloss = EllipseGlow(u, v, hx, hy, 0.36f, 0.21f, -0.6f, 0.55f);
            c = Mix(c, kWhite, gloss * (lightness > 0.7f ? 0.7f : 0.82f));
            const float hot = EllipseGlow(u, v, hx - 0.05f, hy - 0.03f, 0.11f, 0.08f, -0.6f, 0.4f);
            c = Mix(c, kWhite, hot);
            const float glint = EllipseGlow(u, v, -hx * 0.95f, -hy * 0.95f, 0.16f, 0.08f, -0.6f, 0.8f);
            c = Mix(c, kWhite, 0.45f * glint * (d < 1 - edge ? 1.0f : 0.0f));
            *out = c;
            return true;
        });
}

Picture MakeBubble(int kind, bool withSymbol) {
    Picture picture;
    picture.name = withSymbol ? SymbolBubbleName(kind) : BubbleName(kind);
    picture.loops = true;
    picture.transparent = true;
    picture.matte = TileMatte();
    for (int f = 0; f < 8; ++f) {
        Image img(kBubbleSize, kBubbleSize);
        DrawBubble(img, 16, 16, 15.5f, BubbleColor(kind), f / 8.0f, withSymbol ? kind : -1);
        picture.frames.push_back({img, 10, 2});
    }
    return picture;
}

Picture MakeSpawnBubble() {
    Picture picture;
    picture.name = BubbleName(8);
    picture.loops = true;
    picture.transparent = true;
    picture.matte = TileMatte();
    // A soap bubble blown up: thin iridescent skin, clear inside, a wobble as it settles.
    const float radii[7] = {3.5f, 6.5f, 9.5f, 12.5f, 15.0f, 15.5f, 15.5f};
    const float stretch[7] = {1.0f, 1.0f, 1.04f, 1.08f, 0.95f, 1.03f, 1.0f};
    for (int f = 0; f < 7; ++f) {
        Image img(kBubbleSize, kBubbleSize);
        const float r = radii[f], sx = stretch[f], sy = 1 / stretch[f];
        RenderSupersampled(img, 0, 0, kBubbleSize, kBubbleSize, 4, [&](float x, float y, Color* out) {
            const float u = (x - 16) / (r * sx), v = (y - 16) / (r * sy);
            const float d = std::sqrt(u * u + v * v);
            if (d > 1) return false;
            const float skin = 1 - 1.8f / r;
            const float gloss = EllipseGlow(u, v, -0.4f, -0.42f, 0.3f, 0.16f, -0.7f, 0.5f);
            if (d < skin && gloss < 0.35f) {
                const float spot = EllipseGlow(u, v, 0.42f, 0.46f, 0.1f, 0.07f, -0.7f, 0.5f);
                if (spot < 0.4f) return false;
                *out = kWhite;
                return true;
            }
            if (d < skin) {
                *out = Mix(Rgb(220, 240, 255), kWhite, gloss);
                return true;
            }
            const float hue = std::atan2(v, u) / (2 * float(M_PI)) + 0.5f + 0.1f * f;
            const Color film{0.62f + 0.38f * std::cos(2 * float(M_PI) * hue),
                             0.62f + 0.38f * std::cos(2 * float(M_PI) * (hue - 0.33f)),
                             0.7f + 0.3f * std::cos(2 * float(M_PI) * (hue - 0.66f)), 1};
            *out = Mix(Mix(film, Rgb(40, 60, 110), 0.35f), kWhite, 0.25f * gloss);
            return true;
        });
        picture.frames.push_back({img, 14, f < 6 ? 2 : 1});
    }
    return picture;
}

Picture MakePop() {
    Picture picture;
    picture.name = BubbleName(9);
    picture.loops = true;
    picture.transparent = true;
    picture.matte = TileMatte();
    // The pop covers the cleared bubble with the middle of the tile's well (the same on both
    // tiles), then throws droplets and sparkles that fade away.
    const Image tile = BoardTile(false);
    const int delays[13] = {10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 8};
    for (int f = 0; f < 13; ++f) {
        Image img(kBubbleSize, kBubbleSize);
        for (int y = 0; y < kBubbleSize; ++y)
            for (int x = 0; x < kBubbleSize; ++x)
                if (std::hypot(x + 0.5f - 16, y + 0.5f - 16) < 16.4f) img.At(x, y) = tile.At(x + 2, y + 2);
        const float t = f / 12.0f;
        const Color splash = Rgb(36, 136, 214);  // outline of the white spray
        if (f == 0) {  // the bubble bursts into a white star
            std::vector<std::vector<float>> spikes;  // short rays into the four corners
            for (int i = 0; i < 4; ++i) {
                const float a = float(M_PI) * (0.25f + 0.5f * i), c = std::cos(a), s = std::sin(a);
                spikes.push_back({16 + 13 * c - 3.5f * s, 16 + 13 * s + 3.5f * c, 16 + 21 * c, 16 + 21 * s,
                                  16 + 13 * c + 3.5f * s, 16 + 13 * s - 3.5f * c});
            }
            DrawOutlinedShape(img, [&](float x, float y) {
                float d = SdCircle(x, y, 16, 16, 16.2f);
                for (const auto& spike : spikes) d = std::min(d, SdPolygon(x, y, spike));
                return d;
            }, Rgb(240, 250, 255), splash, 1.0f);
            RenderSupersampled(img, 0, 0, 32, 32, 4, [&](float x, float y, Color* out) {
                const float d = std::hypot(x - 16, y - 16);
                if (d > 11) return false;
                *out = Mix(kWhite, Rgb(190, 228, 255), d / 11);
                return true;
            });
        } else if (f <= 5) {  // a ring bursts outwards, thinning and breaking up
            const float radius = 9.0f + 1.6f * f, width = 4.0f - 0.55f * f;
            RenderSupersampled(img, 0, 0, 32, 32, 4, [&](float x, float y, Color* out) {
                const float d = std::hypot(x - 16, y - 16);
                const float off = std::fabs(d - radius);
                if (off > width / 2) return false;
                const float a = std::atan2(y - 16, x - 16);
                if (f >= 3 && std::cos(8 * a + f) > 0.55f - 0.25f * f / 5) return false;
                *out = off > width / 2 - 0.8f ? splash : kWhite;
                return true;
            });
        }
        // Eight droplets fly out along the spokes and shrink.
        if (f >= 1 && f <= 9) {
            for (int i = 0; i < 8; ++i) {
                const float a = float(M_PI) * (i / 4.0f + 0.125f);
                const float dist = 6 + 15 * std::sqrt(t) * (i % 2 ? 0.85f : 1.0f);
                const float r = std::max(3.0f * (1 - t), 1.2f);
                const float dx = 16 + dist * std::cos(a), dy = 16 + dist * std::sin(a);
                DrawOutlinedShape(img, [&](float x, float y) { return SdCircle(x, y, dx, dy, r); },
                                  kWhite, splash, 0.8f);
            }
        }
        // Sparkles twinkle in and out.
        if (f >= 3 && f <= 11) {
            const float spots[4][2] = {{9, 10}, {23, 8}, {22, 23}, {8, 22}};
            for (int i = 0; i < 4; ++i) {
                const float grow = std::sin(float(M_PI) * Clamp01((f - 3 - i * 1.2f) / 5.0f));
                if (grow <= 0.05f) continue;
                const float size = 5.5f * grow;
                DrawOutlinedShape(img, [&](float x, float y) {
                    return SdPolygon(x, y, StarPolygon(spots[i][0], spots[i][1], 4, size, size * 0.32f));
                }, Rgb(255, 250, 210), Rgb(230, 150, 30), 0.7f);
            }
        }
        picture.frames.push_back({img, delays[f], 2});
    }
    return picture;
}

}  // namespace assetgen
