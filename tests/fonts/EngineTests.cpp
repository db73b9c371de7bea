// The text engine on a real face: kerning from either table, drawing that blends exactly and
// stays inside its line box and the target at every edge, underline, synthetic styles.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "shell/fonts/Blend.h"
#include "shell/fonts/SizedFont.h"
#include "tests/fonts/FontFiles.h"

using shell::fonts::BlendOver;
using shell::fonts::Box;
using shell::fonts::BytesFromVector;
using shell::fonts::FontStyle;
using shell::fonts::PixelTarget;
using shell::fonts::SizedFont;
using shell::fonts::TrueTypeFace;

namespace {

std::shared_ptr<const TrueTypeFace> Load(std::vector<uint8_t> bytes) {
    std::string error;
    std::shared_ptr<const TrueTypeFace> face = TrueTypeFace::Load(BytesFromVector(std::move(bytes)), &error);
    EXPECT_TRUE(face) << error;
    return face;
}

struct Canvas {
    Canvas(int w, int h, uint32_t fill) : width(w), height(h), pixels(size_t(w) * h, fill) {}
    PixelTarget Target() { return {pixels.data(), width, height, size_t(width)}; }
    uint32_t At(int x, int y) const { return pixels[size_t(y) * width + x]; }
    int width, height;
    std::vector<uint32_t> pixels;
};

class Engine : public ::testing::Test {
protected:
    void SetUp() override {
        bytes = fonts_test::ReadFile(fonts_test::kRegular);
        if (bytes.empty()) GTEST_SKIP() << "fonts-liberation2 is not installed";
        face = Load(bytes);
    }
    std::vector<uint8_t> bytes;
    std::shared_ptr<const TrueTypeFace> face;
};

// Renames a table so the face seems not to have it.
std::vector<uint8_t> Without(std::vector<uint8_t> font, const char* tag) {
    const fonts_test::TableSpot spot = fonts_test::FindTable(font, tag);
    if (spot.record != 0) font[spot.record + 3] = 'X';
    return font;
}

}  // namespace

TEST_F(Engine, KerningComesAlikeFromEitherTableAndClosesUpPairs) {
    const auto onlyPositioning = Load(Without(bytes, "kern"));
    const auto onlyKernTable = Load(Without(bytes, "GPOS"));
    const auto neither = Load(Without(Without(bytes, "GPOS"), "kern"));
    for (const char* pair : {"AV", "To", "Wa", "Ty", "LT", "P.", "Yo", "ff", "11"}) {
        const int left = face->GlyphFor(uint8_t(pair[0])), right = face->GlyphFor(uint8_t(pair[1]));
        EXPECT_LT(face->Kern(left, right), 0) << pair;
        EXPECT_EQ(onlyPositioning->Kern(left, right), face->Kern(left, right)) << pair;
        EXPECT_EQ(onlyKernTable->Kern(left, right), face->Kern(left, right)) << pair;
        EXPECT_EQ(neither->Kern(left, right), 0) << pair;
    }
    SizedFont font(face, 24, {});
    EXPECT_LT(font.Measure("AV"), font.Measure("A") + font.Measure("V"));
    EXPECT_EQ(font.Measure("HH"), 2 * font.Measure("H"));  // no kerning, no ink past the advance
}

TEST_F(Engine, DrawingBlendsTheCoverageOverWhatIsThereInsideTheLineBox) {
    SizedFont font(face, 18, {});
    // Over transparent pixels "over" leaves the source itself: the coverage in the alpha.
    Canvas mask(80, 40, 0);
    const Box box = font.Draw(mask.Target(), "Hog", 10, 5, 0x123456);
    // What changed lies in the line box, and holds every pixel that did.
    EXPECT_GE(box.x, 10);
    EXPECT_GE(box.y, 5);
    EXPECT_LE(box.x + box.w, 10 + font.Measure("Hog"));
    EXPECT_LE(box.y + box.h, 5 + font.Height());
    bool solid = false;
    for (int y = 0; y < mask.height; ++y) {
        for (int x = 0; x < mask.width; ++x) {
            const uint32_t p = mask.At(x, y);
            const bool inside = x >= box.x && x < box.x + box.w && y >= box.y && y < box.y + box.h;
            if (!inside || p == 0) {
                EXPECT_EQ(p, 0u) << x << "," << y;
                continue;
            }
            EXPECT_EQ(p & 0xFFFFFF, 0x123456u);
            solid = solid || p >> 24 == 255;
        }
    }
    EXPECT_TRUE(solid);  // the stems of the H are whole pixels wide

    // Text in the paper's own colour changes no pixel, and says so.
    Canvas plain(80, 40, 0xFF336699);
    const Box unchanged = font.Draw(plain.Target(), "Hog", 10, 5, 0x336699);
    EXPECT_EQ(unchanged.w * unchanged.h, 0);

    const uint32_t paper = 0x80C08040;  // translucent, to take the general branch
    Canvas drawn(80, 40, paper);
    font.Draw(drawn.Target(), "Hog", 10, 5, 0x123456);
    for (size_t i = 0; i < drawn.pixels.size(); ++i) {
        ASSERT_EQ(drawn.pixels[i], BlendOver(paper, mask.pixels[i])) << i;
    }
}

TEST_F(Engine, ClippingAtEveryEdgeCutsTheLineWithoutMovingIt) {
    SizedFont font(face, 14, {});
    const char* text = "Wj,";  // ink left of the start, below the baseline
    const int w = font.Measure(text), h = font.Height();
    Canvas whole(w, h, 0);
    font.Draw(whole.Target(), text, 0, 0, 0);
    for (int y = -h - 1; y <= 12 + 1; ++y) {
        for (int x = -w - 1; x <= 16 + 1; ++x) {
            Canvas small(16, 12, 0);
            const Box box = font.Draw(small.Target(), text, x, y, 0);
            const int left = std::max(x, 0), top = std::max(y, 0);
            const int right = std::min(x + w, 16), bottom = std::min(y + h, 12);
            if (right <= left || bottom <= top) {
                EXPECT_EQ(box.w * box.h, 0);
            } else if (box.w * box.h > 0) {
                // What changed lies inside the part of the line box on the target.
                EXPECT_GE(box.x, left);
                EXPECT_GE(box.y, top);
                EXPECT_LE(box.x + box.w, right);
                EXPECT_LE(box.y + box.h, bottom);
            }
            for (int py = 0; py < 12; ++py) {
                for (int px = 0; px < 16; ++px) {
                    const bool inside = px >= x && px < x + w && py >= y && py < y + h;
                    ASSERT_EQ(small.At(px, py), inside ? whole.At(px - x, py - y) : 0u)
                        << "drawn at " << x << "," << y << " pixel " << px << "," << py;
                }
            }
        }
    }
}

TEST_F(Engine, UnderlineIsAWholeRowAcrossTheLineBelowTheBaseline) {
    FontStyle underlined;
    underlined.underline = true;
    SizedFont plain(face, 18, {}), font(face, 18, underlined);
    EXPECT_EQ(font.Measure("ace"), plain.Measure("ace"));
    Canvas canvas(60, 30, 0);
    font.Draw(canvas.Target(), "ace", 0, 0, 0xFFFFFF);
    // 18 px: the line's top row is one below the baseline's, one pixel thick.
    const int row = font.Ascent() + 1;
    for (int x = 0; x < font.Measure("ace"); ++x) EXPECT_EQ(canvas.At(x, row), 0xFFFFFFFFu) << x;
    EXPECT_EQ(canvas.At(0, row + 1), 0u);
}

TEST_F(Engine, SyntheticStylesOnlyWhenAskedWidenOrSlantTheGlyphs) {
    FontStyle bold, italic;
    bold.bold = true;
    italic.italic = true;
    SizedFont plain(face, 20, {}), thick(face, 20, bold), slanted(face, 20, italic);
    EXPECT_EQ(thick.Measure("lll"), plain.Measure("lll") + 3 * 1);  // a pixel more per glyph
    EXPECT_GT(slanted.Measure("l"), plain.Measure("l"));  // the top leans right
    auto ink = [](SizedFont& f) {
        Canvas c(40, 30, 0);
        f.Draw(c.Target(), "l", 5, 0, 0);
        long total = 0;
        for (uint32_t p : c.pixels) total += p >> 24;
        return total;
    };
    EXPECT_GT(ink(thick), ink(plain) * 5 / 4);
    EXPECT_NEAR(double(ink(slanted)), double(ink(plain)), ink(plain) * 0.1);
}

TEST_F(Engine, SoftHyphensAreUnseenAndCharactersWithoutGlyphsShowTheMissingBox) {
    SizedFont font(face, 14, {});
    EXPECT_EQ(font.Measure("co\xADop"), font.Measure("coop"));
    EXPECT_EQ(font.Measure("\xAD"), 0);
    Canvas canvas(20, 20, 0);
    const Box nothing = font.Draw(canvas.Target(), "\xAD", 0, 0, 0);
    EXPECT_EQ(nothing.w * nothing.h, 0);
    EXPECT_EQ(font.Measure("\x01"), font.Measure("\x7F"));
    EXPECT_GT(font.Measure("a\tb"), font.Measure("ab"));
}
