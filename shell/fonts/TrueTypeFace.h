// One TrueType face read from bytes: its tables are checked once when it is loaded and each
// glyph before its outline is first read, so a truncated or garbage file is refused with a
// reason and a damaged glyph is drawn as nothing, never read past its end.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "shell/fonts/FontBytes.h"
#include "shell/fonts/Kerning.h"

struct stbtt_fontinfo;

namespace shell::fonts {

// A point of an outline in font units, y up: a move, a line or a quadratic curve to (x, y)
// through the control point (cx, cy).
struct OutlinePoint {
    enum class Kind : uint8_t { Move, Line, Curve };
    Kind kind = Kind::Move;
    int x = 0, y = 0, cx = 0, cy = 0;
};

struct FaceMetrics {
    int unitsPerEm = 2048;
    int ascender = 0, descender = 0;                  // of the line; descender below zero
    int underlinePosition = 0, underlineThickness = 0;  // position of the line's centre
    // Heights the letters line up at, measured on "x", "H", "h" and "p" (0 when a letter is
    // missing), and how far round letters ("o", "O") overshoot them.
    int xHeight = 0, capHeight = 0, ascenderHeight = 0, descenderDepth = 0, overshoot = 0;
};

class TrueTypeFace {
public:
    ~TrueTypeFace();
    TrueTypeFace(const TrueTypeFace&) = delete;
    TrueTypeFace& operator=(const TrueTypeFace&) = delete;

    // The face in `bytes` (a font file, or the first font of a collection); null with the
    // reason in *error when the bytes are not a TrueType font this engine can read.
    static std::unique_ptr<TrueTypeFace> Load(std::shared_ptr<const FontBytes> bytes,
                                              std::string* error);

    const FaceMetrics& Metrics() const { return metrics_; }
    // The glyph for a Latin-1 character (0 is the face's "missing" glyph).
    int GlyphFor(uint8_t character) const { return latin1_[character]; }
    int Advance(int glyph) const;
    // Kerning between two glyphs in font units (0 when the face has none for the pair).
    int Kern(int left, int right) const { return kerning_.Between(left, right); }
    // The glyph's outline; empty for a blank glyph and for one whose data is damaged.
    std::vector<OutlinePoint> Outline(int glyph) const;

private:
    TrueTypeFace() = default;
    bool ReadTables(Span font, std::string* error);
    void ReadCharacterMap(Span cmap);
    void MeasureLetters();
    // The extent (largest absolute coordinate) of a glyph whose data can be read safely, or
    // -1. `budget` bounds the components a composite glyph may visit.
    long CheckGlyph(int glyph, int depth, int* budget) const;

    std::shared_ptr<const FontBytes> bytes_;
    std::unique_ptr<stbtt_fontinfo> info_;
    FaceMetrics metrics_;
    Span glyf_, loca_, hmtx_;
    int numGlyphs_ = 0, longMetrics_ = 0;
    bool longOffsets_ = false;
    uint16_t latin1_[256] = {};
    Kerning kerning_;
};

}  // namespace shell::fonts
