// The markup renderer: every text the applet draws is plain characters mixed with tags in
// angle brackets that set size, bold, italic, underline, colour, centring and breaks.
#pragma once

#include "host/Drawing.h"

namespace sph {

constexpr int kMaxMarkupTokens = 2000;  // tokens past this many are not drawn
constexpr int kSizeSteps = 6;
constexpr int32_t kSizeByStep[kSizeSteps] = {24, 18, 14, 12, 10, 8};
// Each run of plain text is drawn this far right of the pen.
constexpr int32_t kRunIndent = 4;

// Draws zero-terminated `text` on `canvas` starting at (x, y). Font and colour tags change
// the canvas itself and stay in force afterwards; centring and the pen start afresh.
int DrawMarkup(host::Canvas* canvas, const char* text, int x, int y);

// 0..15 for a hexadecimal digit of either case, 0 for every other character.
int HexDigitValue(char c);

}  // namespace sph
