// Reading GPOS pair adjustments and 'kern' pairs. The sizes of lists come from the file, so
// every count is bounded by what a Span can hold and every lookup stops at a fixed number of
// subtables: a damaged table costs a wrong kern, never a long or out-of-bounds walk.
#include "shell/fonts/Kerning.h"

#include <algorithm>
#include <bit>

namespace shell::fonts {

namespace {

constexpr uint32_t Tag(const char (&t)[5]) {
    return uint32_t(uint8_t(t[0])) << 24 | uint32_t(uint8_t(t[1])) << 16 |
           uint32_t(uint8_t(t[2])) << 8 | uint32_t(uint8_t(t[3]));
}

constexpr size_t kMaxLookups = 64, kMaxSubtables = 64;

// Index of `glyph` in a coverage table, or -1.
int CoverageIndex(Span coverage, int glyph) {
    const int format = coverage.U16(0), count = coverage.U16(2);
    int lo = 0, hi = count - 1;
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        if (format == 1) {
            const int g = coverage.U16(4 + 2 * size_t(mid));
            if (g == glyph) return mid;
            if (g < glyph) {
                lo = mid + 1;
            } else {
                hi = mid - 1;
            }
        } else if (format == 2) {
            const size_t at = 4 + 6 * size_t(mid);
            const int start = coverage.U16(at), end = coverage.U16(at + 2);
            if (glyph >= start && glyph <= end) return coverage.U16(at + 4) + glyph - start;
            if (glyph < start) {
                hi = mid - 1;
            } else {
                lo = mid + 1;
            }
        } else {
            return -1;
        }
    }
    return -1;
}

int ClassOf(Span classes, int glyph) {
    const int format = classes.U16(0);
    if (format == 1) {
        const int start = classes.U16(2), count = classes.U16(4);
        return glyph >= start && glyph < start + count ? classes.U16(6 + 2 * size_t(glyph - start))
                                                       : 0;
    }
    if (format != 2) return 0;
    int lo = 0, hi = classes.U16(2) - 1;
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        const size_t at = 4 + 6 * size_t(mid);
        const int start = classes.U16(at), end = classes.U16(at + 2);
        if (glyph >= start && glyph <= end) return classes.U16(at + 4);
        if (glyph < start) {
            hi = mid - 1;
        } else {
            lo = mid + 1;
        }
    }
    return 0;
}

// The x-advance change a pair-adjustment subtable gives the pair; false when the subtable
// does not hold it.
bool PairAdvance(Span table, int left, int right, int* value) {
    const int format = table.U16(0);
    const int covered = CoverageIndex(table.From(table.U16(2)), left);
    if (covered < 0) return false;
    const int first = table.U16(4), second = table.U16(6);
    const size_t firstSize = 2 * size_t(std::popcount(unsigned(first & 0xFF)));
    const size_t secondSize = 2 * size_t(std::popcount(unsigned(second & 0xFF)));
    // Within a value record the x advance follows the x and y placements that are present.
    const size_t advanceAt = 2 * size_t(std::popcount(unsigned(first & 3)));
    const bool hasAdvance = (first & 4) != 0;
    if (format == 1) {
        if (covered >= table.U16(8)) return false;
        const Span set = table.From(table.U16(10 + 2 * size_t(covered)));
        const size_t record = 2 + firstSize + secondSize;
        int lo = 0, hi = set.U16(0) - 1;
        while (lo <= hi) {
            const int mid = (lo + hi) / 2;
            const size_t at = 2 + record * size_t(mid);
            const int g = set.U16(at);
            if (g == right) {
                *value = hasAdvance ? set.S16(at + 2 + advanceAt) : 0;
                return true;
            }
            if (g < right) {
                lo = mid + 1;
            } else {
                hi = mid - 1;
            }
        }
        return false;
    }
    if (format == 2) {
        const int c1 = ClassOf(table.From(table.U16(8)), left);
        const int c2 = ClassOf(table.From(table.U16(10)), right);
        const int count1 = table.U16(12), count2 = table.U16(14);
        if (c1 >= count1 || c2 >= count2) return false;
        const size_t at = 16 + (size_t(c1) * count2 + c2) * (firstSize + secondSize);
        *value = hasAdvance ? table.S16(at + advanceAt) : 0;
        return true;
    }
    return false;
}

}  // namespace

void Kerning::Load(Span gpos, Span kern) {
    lookups_.clear();
    kernCount_ = 0;
    if (!gpos.Empty() && LoadPositioning(gpos)) return;
    LoadKernTable(kern);
}

// True when the face has a 'kern' feature for Latin text (even one this reader cannot use):
// then the older table is not consulted, as a shaper would not.
bool Kerning::LoadPositioning(Span gpos) {
    if (gpos.U16(0) != 1) return false;
    const Span scripts = gpos.From(gpos.U16(4));
    const Span features = gpos.From(gpos.U16(6));
    const Span lookups = gpos.From(gpos.U16(8));
    Span language;
    for (uint32_t wanted : {Tag("latn"), Tag("DFLT")}) {
        for (size_t i = 0, n = scripts.U16(0); i < n && language.Empty(); ++i) {
            if (scripts.U32(2 + 6 * i) != wanted) continue;
            const Span script = scripts.From(scripts.U16(2 + 6 * i + 4));
            if (script.U16(0) != 0) language = script.From(script.U16(0));
        }
        if (!language.Empty()) break;
    }
    if (language.Empty()) return false;

    std::vector<int> indices;
    bool found = false;
    for (size_t i = 0, n = language.U16(4); i < n; ++i) {
        const size_t feature = language.U16(6 + 2 * i);
        if (feature >= features.U16(0) || features.U32(2 + 6 * feature) != Tag("kern")) continue;
        found = true;
        const Span table = features.From(features.U16(2 + 6 * feature + 4));
        for (size_t j = 0, m = table.U16(2); j < m && indices.size() < kMaxLookups; ++j) {
            indices.push_back(table.U16(4 + 2 * j));
        }
    }
    if (!found) return false;
    std::sort(indices.begin(), indices.end());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());

    for (int index : indices) {
        if (index >= lookups.U16(0)) continue;
        const Span lookup = lookups.From(lookups.U16(2 + 2 * size_t(index)));
        std::vector<Span> pairs;
        for (size_t k = 0, n = std::min<size_t>(lookup.U16(4), kMaxSubtables); k < n; ++k) {
            Span table = lookup.From(lookup.U16(6 + 2 * k));
            int type = lookup.U16(0);
            if (type == 9) {  // an extension: the real subtable lies further away
                if (table.U16(0) != 1) continue;
                type = table.U16(2);
                table = table.From(table.U32(4));
            }
            if (type == 2 && (table.U16(0) == 1 || table.U16(0) == 2)) pairs.push_back(table);
        }
        if (!pairs.empty()) lookups_.push_back(std::move(pairs));
    }
    return true;
}

void Kerning::LoadKernTable(Span kern) {
    if (kern.U16(0) != 0) return;  // only the common version-0 layout
    size_t at = 4;
    for (size_t i = 0, n = kern.U16(2); i < n && at < kern.Size(); ++i) {
        const int length = kern.U16(at + 2), coverage = kern.U16(at + 4);
        // Format 0, horizontal, neither minimum values nor cross-stream.
        if ((coverage >> 8) == 0 && (coverage & 7) == 1) {
            const Span pairs = kern.From(at + 14);
            kernCount_ = std::min<int>(kern.U16(at + 6), int(pairs.Size() / 6));
            kernPairs_ = pairs;
            return;
        }
        if (length == 0) return;
        at += length;
    }
}

int Kerning::Between(int left, int right) const {
    if (!lookups_.empty()) {
        int total = 0;
        for (const std::vector<Span>& lookup : lookups_) {
            for (const Span& table : lookup) {
                int value = 0;
                if (PairAdvance(table, left, right, &value)) {
                    total += value;
                    break;
                }
            }
        }
        return total;
    }
    const uint32_t key = uint32_t(left) << 16 | uint32_t(right);
    int lo = 0, hi = kernCount_ - 1;
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        const uint32_t k = kernPairs_.U32(6 * size_t(mid));
        if (k == key) return kernPairs_.S16(6 * size_t(mid) + 4);
        if (k < key) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
        }
    }
    return 0;
}

}  // namespace shell::fonts
