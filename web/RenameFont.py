#!/usr/bin/python3
"""Gives a cut-down font a family name of its own. The font's licence treats a subset as a
modified version, which may not carry the original's reserved name: every name record is
renamed except the copyright, trademark and licence ones, which must stay as they are.

Usage: RenameFont.py FONT.ttf OLD_NAME NEW_NAME   (the file is rewritten in place)
"""
import sys

from fontTools.ttLib import TTFont

KEPT = {0, 7, 13, 14}  # copyright, trademark, licence text, licence URL


def main():
    path, old, new = sys.argv[1:4]
    font = TTFont(path)
    compact_old, compact_new = old.replace(' ', ''), new.replace(' ', '')
    renamed = 0
    for record in font['name'].names:
        if record.nameID in KEPT:
            continue
        text = record.toUnicode()
        changed = text.replace(old, new).replace(compact_old, compact_new)
        if changed != text:
            record.string = changed
            renamed += 1
    if renamed == 0:
        sys.exit(f'{path}: no name holds "{old}"')
    font.save(path)


if __name__ == '__main__':
    main()
