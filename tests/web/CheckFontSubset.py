#!/usr/bin/python3
"""The web's cut-down fonts draw Latin-1 exactly as the full fonts do: the same characters,
outlines, advances and kerning pairs (both the legacy table and the OpenType one).

Usage: CheckFontSubset.py FULL.ttf SUBSET.ttf
"""
import sys

from fontTools.pens.recordingPen import DecomposingRecordingPen
from fontTools.ttLib import TTFont

LATIN1 = list(range(0x20, 0x7F)) + list(range(0xA0, 0x100))


# Accents are drawn from components, which the subset may rename: compare whole outlines.
def outline(font, glyph):
    glyphs = font.getGlyphSet()
    pen = DecomposingRecordingPen(glyphs)
    glyphs[glyph].draw(pen)
    return pen.value


def legacy_kerning(font, cmap):
    if 'kern' not in font:
        return {}
    table = font['kern'].kernTables[0].kernTable
    return {(a, b): table.get((cmap[a], cmap[b]), 0) for a in LATIN1 for b in LATIN1
            if table.get((cmap[a], cmap[b]), 0)}


def opentype_kerning_features(font):
    if 'GPOS' not in font:
        return set()
    return {record.FeatureTag for record in font['GPOS'].table.FeatureList.FeatureRecord}


def main(full_path, subset_path):
    full, subset = TTFont(full_path), TTFont(subset_path)
    full_map, subset_map = full.getBestCmap(), subset.getBestCmap()
    problems = []
    for code in LATIN1:
        if code not in full_map:
            continue
        if code not in subset_map:
            problems.append('U+%04X is missing' % code)
            continue
        a, b = full_map[code], subset_map[code]
        if full['hmtx'][a] != subset['hmtx'][b]:
            problems.append('U+%04X has another advance or side bearing' % code)
        if outline(full, a) != outline(subset, b):
            problems.append('U+%04X has another outline' % code)
    if legacy_kerning(full, full_map) != legacy_kerning(subset, subset_map):
        problems.append('the kern table differs on Latin-1 pairs')
    if 'kern' in opentype_kerning_features(full) and 'kern' not in opentype_kerning_features(subset):
        problems.append('the OpenType kerning feature was dropped')
    for key in ('unitsPerEm',):
        if getattr(full['head'], key) != getattr(subset['head'], key):
            problems.append('head.%s differs' % key)
    for key in ('ascent', 'descent', 'lineGap'):
        if getattr(full['hhea'], key) != getattr(subset['hhea'], key):
            problems.append('hhea.%s differs' % key)
    if 'SIL Open Font License' not in (subset['name'].getDebugName(13) or ''):
        problems.append('the licence notice is gone from the name table')
    # A modified version may not carry the reserved name; the notices must stay whole.
    for record in subset['name'].names:
        if record.nameID not in (0, 7, 13, 14) and 'Liberation' in record.toUnicode():
            problems.append('name %d still says "%s"' % (record.nameID, record.toUnicode()))
    for name_id in (0, 7):
        if full['name'].getDebugName(name_id) != subset['name'].getDebugName(name_id):
            problems.append('name %d (copyright or trademark) was changed' % name_id)
    for problem in problems:
        print('%s: %s' % (subset_path, problem))
    print('%s: %d characters checked, %d problems' % (subset_path, len(LATIN1), len(problems)))
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main(*sys.argv[1:3]))
