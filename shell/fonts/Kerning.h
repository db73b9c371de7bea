// Pair kerning of a face: the pair adjustments of its GPOS 'kern' feature for Latin text, or,
// when that feature is missing, its older 'kern' table (the choice text shapers make, so pairs
// like "AV" and "To" close up as much as they always have). Every read is bounds-checked.
#pragma once

#include <vector>

#include "shell/fonts/FontBytes.h"

namespace shell::fonts {

class Kerning {
public:
    // `gpos` and `kern` are the face's tables (empty when it has none).
    void Load(Span gpos, Span kern);
    // The change of the left glyph's advance before the right one, in font units.
    int Between(int left, int right) const;

private:
    bool LoadPositioning(Span gpos);
    void LoadKernTable(Span kern);

    // Pair-adjustment subtables, one list per lookup: within a lookup the first subtable that
    // holds the pair decides; the lookups add up.
    std::vector<std::vector<Span>> lookups_;
    Span kernPairs_;  // sorted (left, right, value) records of the 'kern' table
    int kernCount_ = 0;
};

}  // namespace shell::fonts
