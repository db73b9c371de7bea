// The font files the tests read (from fonts-liberation2, which the game depends on) and a
// small reader of a font's table directory, for tests that damage particular tables.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fonts_test {

inline const char* const kRegular = "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf";
inline const char* const kBold = "/usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf";
inline const char* const kMono = "/usr/share/fonts/truetype/liberation2/LiberationMono-Regular.ttf";

inline std::vector<uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

inline uint32_t Get32(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 | uint32_t(b[at + 2]) << 8 | b[at + 3];
}
inline uint16_t Get16(const std::vector<uint8_t>& b, size_t at) { return uint16_t(b[at] << 8 | b[at + 1]); }
inline void Put16(std::vector<uint8_t>& b, size_t at, int v) {
    b[at] = uint8_t(v >> 8);
    b[at + 1] = uint8_t(v);
}

struct TableSpot {
    size_t record = 0, offset = 0, length = 0;  // record: where the directory names it
};

// Where table `tag` lies in a (non-collection) font file; offset 0 when it is absent.
inline TableSpot FindTable(const std::vector<uint8_t>& font, const char* tag) {
    const uint32_t want = uint32_t(uint8_t(tag[0])) << 24 | uint32_t(uint8_t(tag[1])) << 16 |
                          uint32_t(uint8_t(tag[2])) << 8 | uint8_t(tag[3]);
    for (size_t i = 0, n = Get16(font, 4); i < n; ++i) {
        const size_t record = 12 + 16 * i;
        if (Get32(font, record) == want) return {record, Get32(font, record + 8), Get32(font, record + 12)};
    }
    return {};
}

// Byte range of glyph `glyph` inside the file.
inline std::pair<size_t, size_t> GlyphBytes(const std::vector<uint8_t>& font, int glyph) {
    const TableSpot head = FindTable(font, "head"), loca = FindTable(font, "loca");
    const TableSpot glyf = FindTable(font, "glyf");
    const bool longOffsets = Get16(font, head.offset + 50) == 1;
    const size_t start = longOffsets ? Get32(font, loca.offset + 4 * size_t(glyph))
                                     : 2 * size_t(Get16(font, loca.offset + 2 * size_t(glyph)));
    const size_t end = longOffsets ? Get32(font, loca.offset + 4 * size_t(glyph) + 4)
                                   : 2 * size_t(Get16(font, loca.offset + 2 * size_t(glyph) + 2));
    return {glyf.offset + start, glyf.offset + end};
}

}  // namespace fonts_test
