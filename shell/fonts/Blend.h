// Straight-alpha "source over" for 0xAARRGGBB pixels, exact with rounding so a test can predict
// every pixel. Pictures and text blend through this one function.
#pragma once

#include <cstdint>

namespace shell::fonts {

// x / 255 rounded to nearest, for x in [0, 255 * 255 * 255].
inline uint32_t Div255(uint32_t x) { return (x + 128 + ((x + 128) >> 8)) >> 8; }

inline uint32_t BlendOver(uint32_t dst, uint32_t src) {
    const uint32_t sa = src >> 24;
    if (sa == 255) return src;
    if (sa == 0) return dst;
    const uint32_t da = dst >> 24;
    if (da == 255) {
        const uint32_t inv = 255 - sa;
        uint32_t out = 0xFF000000u;
        for (int shift = 0; shift <= 16; shift += 8) {
            out |= Div255(((src >> shift) & 0xFFu) * sa + ((dst >> shift) & 0xFFu) * inv) << shift;
        }
        return out;
    }
    // Over a translucent pixel: weigh each colour by how much of it shows.
    const uint32_t dw = Div255(da * (255 - sa));  // the destination's share, 0..255
    const uint32_t oa = sa + dw;
    if (oa == 0) return 0;
    uint32_t out = oa << 24;
    for (int shift = 0; shift <= 16; shift += 8) {
        const uint32_t c = (((src >> shift) & 0xFFu) * sa + ((dst >> shift) & 0xFFu) * dw + oa / 2) / oa;
        out |= (c > 255 ? 255 : c) << shift;
    }
    return out;
}

}  // namespace shell::fonts
