// Damaged font files: refused with a reason, or read without ever leaving their bytes (the
// AddressSanitizer build turns a stray read into a failure), with damaged glyphs drawn blank.
#include <gtest/gtest.h>

#include <random>

#include "shell/core/FontCache.h"
#include "shell/core/Log.h"
#include "shell/fonts/MemoryFonts.h"
#include "shell/fonts/SizedFont.h"
#include "tests/fonts/FontFiles.h"

using shell::fonts::BytesFromVector;
using shell::fonts::SizedFont;
using shell::fonts::TrueTypeFace;

namespace {

std::shared_ptr<const TrueTypeFace> Load(std::vector<uint8_t> bytes, std::string* error = nullptr) {
    std::string ignored;
    return TrueTypeFace::Load(BytesFromVector(std::move(bytes)), error != nullptr ? error : &ignored);
}

// Ink a text leaves on a transparent canvas.
long Ink(SizedFont& font, const std::string& text) {
    std::vector<uint32_t> pixels(400 * 80, 0);
    font.Draw({pixels.data(), 400, 80, 400}, text, 4, 4, 0);
    long total = 0;
    for (uint32_t p : pixels) total += p >> 24;
    return total;
}

class BadFonts : public ::testing::Test {
protected:
    void SetUp() override {
        font = fonts_test::ReadFile(fonts_test::kRegular);
        if (font.empty()) GTEST_SKIP() << "fonts-liberation2 is not installed";
    }
    std::vector<uint8_t> font;
};

}  // namespace

TEST_F(BadFonts, EmptyGarbageAndTruncatedFilesAreRefusedWithAReason) {
    std::string error;
    EXPECT_FALSE(TrueTypeFace::Load(nullptr, &error));
    EXPECT_FALSE(error.empty());
    std::mt19937 random(7);
    std::vector<uint8_t> garbage(4096);
    for (uint8_t& b : garbage) b = uint8_t(random());
    std::vector<uint8_t> cff = {'O', 'T', 'T', 'O', 0, 0, 0, 0, 0, 0, 0, 0};
    for (const std::vector<uint8_t>& bytes : {std::vector<uint8_t>{}, garbage, cff}) {
        error.clear();
        EXPECT_FALSE(Load(bytes, &error));
        EXPECT_FALSE(error.empty());
    }
    for (size_t cut : {size_t(4), size_t(12), size_t(100), size_t(1000), font.size() / 2, font.size() - 1}) {
        error.clear();
        EXPECT_FALSE(Load(std::vector<uint8_t>(font.begin(), font.begin() + long(cut)), &error)) << cut;
        EXPECT_FALSE(error.empty()) << cut;
    }
}

TEST_F(BadFonts, RandomDamageToTheTablesNeverReadsOutsideTheFile) {
    std::mt19937 random(2024);
    const char* tables[] = {"cmap", "loca", "hmtx", "hhea", "head", "maxp", "kern", "GPOS", "post", "OS/2"};
    std::string all;
    for (int c = 1; c < 256; ++c) all += char(c);
    const auto plain = Load(font);
    ASSERT_TRUE(plain);
    int loaded = 0;
    for (int round = 0; round < 150; ++round) {
        std::vector<uint8_t> damaged = font;
        for (int hit = 1 + int(random() % 8); hit > 0; --hit) {
            size_t from = 0, length = 12 + 16 * size_t(fonts_test::Get16(font, 4));
            const int where = int(random() % 14);
            if (where < 10) {
                const fonts_test::TableSpot spot = fonts_test::FindTable(font, tables[where]);
                from = spot.offset, length = spot.length;
            } else if (where < 13) {  // the outline of a letter
                const auto [start, end] = fonts_test::GlyphBytes(font, plain->GlyphFor(uint8_t(33 + random() % 94)));
                from = start, length = end - start;
            }
            if (length == 0) continue;
            const size_t at = from + random() % length;
            damaged[at] = random() % 3 == 0 ? uint8_t(0xFF) : uint8_t(random());
        }
        std::shared_ptr<const TrueTypeFace> face = Load(std::move(damaged));
        if (!face) continue;
        ++loaded;
        for (int size : {9, 33}) {
            SizedFont sized(face, size, {});
            sized.Measure(all);
            Ink(sized, all.substr(32, 60));
            Ink(sized, all.substr(160));
        }
    }
    EXPECT_GT(loaded, 50);  // most damage leaves a face to draw with
}

TEST_F(BadFonts, GlyphsThatLoopOrRunOffTheirDataDrawNothingButKeepTheirPlace) {
    const auto plain = Load(font);
    ASSERT_TRUE(plain);
    std::vector<uint8_t> damaged = font;
    auto patch = [&](char letter, std::vector<int> words) {
        const size_t at = fonts_test::GlyphBytes(font, plain->GlyphFor(uint8_t(letter))).first;
        for (size_t i = 0; i < words.size(); ++i) fonts_test::Put16(damaged, at + 2 * i, words[i]);
    };
    const int glyphA = plain->GlyphFor('A');
    // Composites: of itself; of a glyph that does not exist; placed by matching points;
    // moved so far that its points leave 16 bits.
    patch('A', {-1, 0, 0, 1000, 1000, 0x0003, glyphA, 0, 0});
    patch('B', {-1, 0, 0, 1000, 1000, 0x0003, 0xFFFF, 0, 0});
    patch('C', {-1, 0, 0, 1000, 1000, 0x0001, plain->GlyphFor('H'), 0, 0});
    patch('D', {-1, 0, 0, 1000, 1000, 0x0023, plain->GlyphFor('H'), 32000, 0, 0x0003,
                plain->GlyphFor('H'), 32000, 0});
    // Simple glyphs: contour ends that fall back; more points than the glyph has bytes.
    patch('E', {2, 0, 0, 1000, 1000, 5, 3, 0});
    patch('F', {1, 0, 0, 1000, 1000, 59999, 0});
    const auto face = Load(damaged);
    ASSERT_TRUE(face);
    SizedFont sized(face, 20, {}), reference(plain, 20, {});
    for (char letter : std::string("ABCDEF")) {
        const std::string text(1, letter);
        EXPECT_EQ(Ink(sized, text), 0) << letter;
        EXPECT_GT(Ink(reference, text), 0) << letter;
        EXPECT_GT(sized.Measure(text), 0) << letter;  // its advance is kept
    }
    EXPECT_EQ(Ink(sized, "GHI"), Ink(reference, "GHI"));
}

TEST_F(BadFonts, AFontCacheOverAnUnreadableFileDrawsNothingAndSaysWhy) {
    auto source = std::make_unique<shell::fonts::MemoryFonts>();
    source->Add("Arial", false, false, std::vector<uint8_t>(font.begin(), font.begin() + 5000));
    std::string log;
    shell::SetLogSink(&log);
    shell::FontCache cache(std::move(source));
    EXPECT_FALSE(cache.Available("Arial", 12, 0));
    int32_t w = -1, h = -1;
    cache.Measure("Arial", 12, 0, "Hello", &w, &h);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 12);
    shell::Pixmap target(50, 20, 0xFFFFFFFFu);
    EXPECT_TRUE(cache.Draw(target, "Arial", 12, 0, "Hello", 0, 0, 0, 0, 0).Empty());
    EXPECT_EQ(target.At(5, 10), 0xFFFFFFFFu);
    shell::SetLogSink(nullptr);
    EXPECT_NE(log.find("cannot read font file"), std::string::npos) << log;
}
