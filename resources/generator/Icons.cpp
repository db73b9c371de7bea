// The desktop icon at the usual theme sizes: three bubbles on a rounded teal tile, drawn
// afresh at each size so small icons stay crisp rather than shrunk from a large one.
#include "Art.h"

namespace assetgen {

Image MakeIcon(int size) {
    const float s = static_cast<float>(size);
    Image img(size, size);
    const float margin = s * 0.04f;
    const float half = s / 2 - margin;
    const float radius = s * 0.2f;
    const float edge = std::max(1.0f, s / 40);
    RenderSupersampled(img, 0, 0, size, size, 4, [&](float x, float y, Color* out) {
        const float d = SdRoundBox(x, y, s / 2, s / 2, half, half, radius);
        if (d > 0) return false;
        *out = d > -edge ? Rgb(0, 51, 51)
                         : Mix(Rgb(82, 190, 190), Rgb(28, 112, 118), SmoothStep(0, s, y));
        return true;
    });
    // Red and blue behind, yellow in front and a little higher, as in the game logo.
    DrawBubble(img, s * 0.30f, s * 0.58f, s * 0.19f, BubbleColor(0), 0.0f, -1);
    DrawBubble(img, s * 0.70f, s * 0.58f, s * 0.19f, BubbleColor(2), 0.0f, -1);
    DrawBubble(img, s * 0.50f, s * 0.42f, s * 0.22f, BubbleColor(1), 0.0f, -1);
    return img;
}

}  // namespace assetgen
