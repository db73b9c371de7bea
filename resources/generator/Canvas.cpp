// Supersampled shape rendering and signed distance functions.
#include "Canvas.h"

namespace assetgen {

void RenderSupersampled(Image& img, int x0, int y0, int x1, int y1, int n,
                        const SampleShader& shader) {
    x0 = std::max(x0, 0);
    y0 = std::max(y0, 0);
    x1 = std::min(x1, img.Width());
    y1 = std::min(y1, img.Height());
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            float r = 0, g = 0, b = 0, a = 0;
            int covered = 0;
            for (int sy = 0; sy < n; ++sy) {
                for (int sx = 0; sx < n; ++sx) {
                    Color c;
                    if (!shader(x + (sx + 0.5f) / n, y + (sy + 0.5f) / n, &c)) continue;
                    ++covered;
                    r += c.r * c.a;
                    g += c.g * c.a;
                    b += c.b * c.a;
                    a += c.a;
                }
            }
            if (covered == 0 || a <= 0) continue;
            const Color mean{r / a, g / a, b / a, a / float(n * n)};
            img.Blend(x, y, mean);
        }
    }
}

float SdCircle(float px, float py, float cx, float cy, float r) {
    return std::hypot(px - cx, py - cy) - r;
}

float SdRoundBox(float px, float py, float cx, float cy, float hw, float hh, float radius) {
    const float qx = std::fabs(px - cx) - hw + radius;
    const float qy = std::fabs(py - cy) - hh + radius;
    const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
    return outside + std::min(std::max(qx, qy), 0.0f) - radius;
}

float SdSegment(float px, float py, float ax, float ay, float bx, float by) {
    const float pax = px - ax, pay = py - ay, bax = bx - ax, bay = by - ay;
    const float h = Clamp01((pax * bax + pay * bay) / (bax * bax + bay * bay));
    return std::hypot(pax - bax * h, pay - bay * h);
}

float SdPolygon(float px, float py, const std::vector<float>& xy) {
    const size_t n = xy.size() / 2;
    float d = (px - xy[0]) * (px - xy[0]) + (py - xy[1]) * (py - xy[1]);
    float s = 1;
    for (size_t i = 0, j = n - 1; i < n; j = i, ++i) {
        const float ex = xy[2 * j] - xy[2 * i], ey = xy[2 * j + 1] - xy[2 * i + 1];
        const float wx = px - xy[2 * i], wy = py - xy[2 * i + 1];
        const float t = Clamp01((wx * ex + wy * ey) / (ex * ex + ey * ey));
        const float bx = wx - ex * t, by = wy - ey * t;
        d = std::min(d, bx * bx + by * by);
        const bool c1 = py >= xy[2 * i + 1], c2 = py < xy[2 * j + 1];
        const bool c3 = ex * wy > ey * wx;
        if ((c1 && c2 && c3) || (!c1 && !c2 && !c3)) s = -s;
    }
    return s * std::sqrt(d);
}

std::vector<float> StarPolygon(float cx, float cy, int points, float outer, float inner) {
    std::vector<float> xy;
    for (int i = 0; i < 2 * points; ++i) {
        const float angle = float(M_PI) * i / points - float(M_PI) / 2;
        const float r = (i % 2 == 0) ? outer : inner;
        xy.push_back(cx + r * std::cos(angle));
        xy.push_back(cy + r * std::sin(angle));
    }
    return xy;
}

void DrawOutlinedShape(Image& img, const std::function<float(float, float)>& sd, Color fill,
                       Color line, float width) {
    RenderSupersampled(img, 0, 0, img.Width(), img.Height(), 4,
                       [&](float x, float y, Color* out) {
                           const float d = sd(x, y);
                           if (d > 0) return false;
                           *out = d > -width ? line : fill;
                           return true;
                       });
}

}  // namespace assetgen
