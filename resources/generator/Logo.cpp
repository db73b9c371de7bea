// The big logo with the game's name, and the small game logo for the shell.
#include <cmath>

#include "Art.h"
#include "Text.h"

namespace assetgen {
namespace {

constexpr int kDetail = 4;  // lettering is drawn this many times too large, then shrunk

const Color kInk = Rgb(22, 30, 72);  // outline of the lettering
const Color kWhite = Rgb(255, 255, 255);

// Largest pixel size at which `text` fits in `width` pixels.
int FitSize(const std::string& font, const std::string& text, int width, int largest, int tracking) {
    int size = largest;
    while (size > 6 && MeasureText(font, size * kDetail, text, tracking * kDetail) > width * kDetail) --size;
    return size;
}

struct Lettering {
    TextMask mask;
    std::vector<float> outside, inside;
    int inkLeft = 0, inkRight = 0;
};

Lettering Letter(const std::string& font, int size, const std::string& text, int tracking, int margin) {
    Lettering l;
    l.mask = RenderText(font, size * kDetail, text, tracking * kDetail, margin * kDetail);
    l.outside = DistanceToInk(l.mask);
    l.inside = DistanceToInk(l.mask, true);
    l.inkLeft = l.mask.width;
    for (int y = 0; y < l.mask.height; ++y) {
        for (int x = 0; x < l.mask.width; ++x) {
            if (l.mask.At(x, y) < 0.5f) continue;
            l.inkLeft = std::min(l.inkLeft, x);
            l.inkRight = std::max(l.inkRight, x + 1);
        }
    }
    return l;
}

// Draws lettering on a big drawing, its ink centred on x = `centreX` and its baseline at
// `baseline` (both in final pixels): a drop shadow, an outline `outline` pixels wide, and the
// letters filled by `fill(letter, depth 0..1 from the letter's top, distance inside)`.
template <typename Fill>
void DrawLettering(Image& big, const Lettering& l, int centreX, int baseline, float outline,
                   Color outlineColor, float shadowX, float shadowY, Fill fill) {
    const int ox = centreX * kDetail - (l.inkLeft + l.inkRight) / 2;
    const int oy = baseline * kDetail - l.mask.baseline;
    const float width = outline * kDetail;
    auto outsideAt = [&](int mx, int my) {
        if (mx < 0 || my < 0 || mx >= l.mask.width || my >= l.mask.height) return 1e9f;
        return l.outside[size_t(my) * l.mask.width + mx];
    };
    for (int by = 0; by < big.Height(); ++by) {
        for (int bx = 0; bx < big.Width(); ++bx) {
            const int mx = bx - ox, my = by - oy;
            const float d = outsideAt(mx, my);
            if (d > width) {
                const float sd = outsideAt(mx - int(shadowX * kDetail), my - int(shadowY * kDetail));
                if (sd <= width) big.Blend(bx, by, Rgb(0, 51, 51, 0.55f));
                continue;
            }
            if (d > 0) {
                big.Blend(bx, by, outlineColor);
                continue;
            }
            const size_t at = size_t(my) * l.mask.width + mx;
            const int letter = std::max(l.mask.letter[at], 0);
            const int top = l.mask.letterTop[letter], bottom = l.mask.letterBottom[letter];
            const float depth = Clamp01(float(my - top) / float(std::max(bottom - top, 1)));
            big.Blend(bx, by, fill(letter, depth, l.inside[at] / kDetail));
        }
    }
}

Color Lighten(Color c, float t) { return Mix(c, kWhite, t); }

}  // namespace

Picture MakeLogo(const std::string& fontPath) {
    const int width = 276, height = 122;
    Picture picture;
    picture.name = "P-IMG-LOGO-BIG";
    picture.transparent = true;

    Image big(width * kDetail, height * kDetail);
    const std::string name = "Spherolette";
    const int size = FitSize(fontPath, name, 252, 60, -1);
    const Lettering word = Letter(fontPath, size, name, -1, 8);
    const int colours[11] = {0, 5, 1, 3, 6, 2, 4, 0, 5, 1, 3};
    DrawLettering(big, word, width / 2, 86, 3.4f, kInk, 2.5f, 3.5f,
                  [&](int letter, float depth, float inside) {
                      const Color base = BubbleColor(colours[letter % 11]);
                      Color c = Mix(Lighten(base, 0.45f), base, SmoothStep(0.0f, 0.5f, depth));
                      c = Mix(c, Scale(base, 0.72f), SmoothStep(0.6f, 1.0f, depth));
                      // A glossy band over the top of each letter, kept off its edges.
                      const float gloss = (1 - SmoothStep(0.18f, 0.42f, depth)) * SmoothStep(1.0f, 2.2f, inside);
                      return Mix(c, kWhite, 0.6f * gloss);
                  });

    const std::string tagline = "Tiny Bubbles, Big Fun!";
    const Lettering small = Letter(fontPath, FitSize(fontPath, tagline, 200, 16, 0), tagline, 0, 3);
    DrawLettering(big, small, width / 2, 114, 1.8f, kInk, 1.0f, 1.5f,
                  [&](int, float depth, float) { return Mix(kWhite, Rgb(200, 236, 255), depth); });

    Image img = Downsample(big, kDetail);
    // Bubbles rising above the name.
    const struct { float x, y, r; int kind; } bubbles[] = {
        {22, 30, 8.5f, 2}, {40, 13, 6.0f, 1},  {60, 26, 4.5f, 3},  {84, 10, 7.5f, 0},
        {108, 24, 5.0f, 6}, {132, 9, 6.5f, 4}, {158, 22, 8.0f, 5}, {182, 8, 5.0f, 2},
        {204, 24, 6.0f, 1}, {228, 11, 7.0f, 3}, {252, 28, 8.5f, 0},
    };
    for (const auto& b : bubbles) DrawBubble(img, b.x, b.y, b.r, BubbleColor(b.kind), 0.0f, -1);
    picture.frames.push_back({img, 0, 1});
    return picture;
}

Picture MakeGameLogo(const std::string& fontPath) {
    const int width = 80, height = 60;
    Picture picture;
    picture.name = "P-IMG-GAMELOGO.GIF";
    Image img(width, height);
    RenderSupersampled(img, 0, 0, width, height, 4, [&](float x, float y, Color* out) {
        const float d = SdRoundBox(x, y, 40, 30, 40, 30, 7);
        if (d > 0) {
            *out = Rgb(0, 51, 51);
            return true;
        }
        *out = d > -1.2f ? Rgb(0, 51, 51)
                         : Mix(Rgb(70, 178, 178), Rgb(30, 118, 124), SmoothStep(0, 60, y));
        return true;
    });
    DrawBubble(img, 22, 24, 11.0f, BubbleColor(0), 0.0f, -1);
    DrawBubble(img, 58, 24, 11.0f, BubbleColor(2), 0.0f, -1);
    DrawBubble(img, 40, 20, 12.5f, BubbleColor(1), 0.0f, -1);

    Image big(width * kDetail, height * kDetail);
    const std::string name = "Spherolette";
    const Lettering word = Letter(fontPath, FitSize(fontPath, name, 70, 14, 0), name, 0, 2);
    DrawLettering(big, word, width / 2, 52, 1.4f, kInk, 0.8f, 1.0f,
                  [&](int, float depth, float) { return Mix(kWhite, Rgb(255, 230, 150), depth); });
    img.Draw(Downsample(big, kDetail), 0, 0);
    picture.frames.push_back({img, 0, 1});
    return picture;
}

}  // namespace assetgen
