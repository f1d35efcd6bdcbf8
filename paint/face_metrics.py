#!/usr/bin/env python3
"""Writes paint/face_metrics.txt, the metrics of the faces of paint/faces.txt that the paint
plan breaks texts into lines with: each face's ascent and descent, the advance widths of the
printable ASCII characters and the kerning between them, in font units, read from the font
files the table names (Debian's packages install them there).

Usage: face_metrics.py FACES_TXT METRICS_TXT, or face_metrics.py --check FACES_TXT METRICS_TXT to
fail when METRICS_TXT is not what the installed files give.
"""
import os
import sys

try:
    from fontTools.ttLib import TTFont
except ImportError:
    # Outside CI a missing tool skips the check (77); under CI it is a failure.
    print("fontTools is missing (Debian package python3-fonttools)")
    sys.exit(1 if os.environ.get("CI") == "true" else 77)

FIRST, LAST = 0x20, 0x7E
CHARACTERS = [chr(code) for code in range(FIRST, LAST + 1)]


def faces(table):
    """The rows of the faces table: (face, file)."""
    with open(table, encoding="utf-8") as rows:
        for row in rows:
            if row.startswith("#") or not row.strip():
                continue
            fields = [field.strip() for field in row.split("|")]
            yield fields[1], fields[4]


def glyph_classes(class_def):
    return class_def.classDefs if class_def is not None else {}


def pair_values(subtable, glyphs):
    """The horizontal adjustments of a pair positioning subtable between these glyphs."""
    pairs = {}
    if subtable.Format == 1:
        for first, pair_set in zip(subtable.Coverage.glyphs, subtable.PairSet):
            if first not in glyphs:
                continue
            for record in pair_set.PairValueRecord:
                value = getattr(record.Value1, "XAdvance", 0) if record.Value1 else 0
                if record.SecondGlyph in glyphs and value:
                    pairs[(first, record.SecondGlyph)] = value
    elif subtable.Format == 2:
        first_classes = glyph_classes(subtable.ClassDef1)
        second_classes = glyph_classes(subtable.ClassDef2)
        covered = set(subtable.Coverage.glyphs)
        for first in glyphs:
            if first not in covered:
                continue
            row = subtable.Class1Record[first_classes.get(first, 0)]
            for second in glyphs:
                record = row.Class2Record[second_classes.get(second, 0)]
                value = getattr(record.Value1, "XAdvance", 0) if record.Value1 else 0
                if value:
                    pairs[(first, second)] = value
    return pairs


def kerning(font, glyphs):
    """Kerning between the glyphs: the GPOS kern feature where the font has one, otherwise
    the old kern table."""
    pairs = {}
    if "GPOS" in font and font["GPOS"].table.FeatureList is not None:
        table = font["GPOS"].table
        lookups = sorted({index for record in table.FeatureList.FeatureRecord if record.FeatureTag == "kern"
                          for index in record.Feature.LookupListIndex})
        for index in lookups:
            lookup = table.LookupList.Lookup[index]
            for subtable in lookup.SubTable:
                if lookup.LookupType == 9:
                    subtable = subtable.ExtSubTable
                if subtable.LookupType == 2:
                    for pair, value in pair_values(subtable, glyphs).items():
                        pairs.setdefault(pair, value)
        if lookups:
            return pairs
    if "kern" in font:
        for subtable in font["kern"].kernTables:
            for (first, second), value in getattr(subtable, "kernTable", {}).items():
                if first in glyphs and second in glyphs and value:
                    pairs.setdefault((first, second), value)
    return pairs


def metrics(face, path):
    font = TTFont(path)
    cmap = font.getBestCmap()
    glyph_of = {character: cmap.get(ord(character), ".notdef") for character in CHARACTERS}
    advances = [font["hmtx"][glyph_of[character]][0] for character in CHARACTERS]
    character_of = {}
    for character in CHARACTERS:
        character_of.setdefault(glyph_of[character], []).append(character)
    pairs = []
    for (first, second), value in sorted(kerning(font, set(glyph_of.values())).items()):
        for left in character_of[first]:
            for right in character_of[second]:
                pairs.append((left, right, value))
    os2 = font["OS/2"]
    return {"face": face, "units": font["head"].unitsPerEm, "ascent": os2.usWinAscent,
            "descent": os2.usWinDescent, "advances": advances, "kerning": sorted(pairs)}


def source(all_metrics):
    """The metrics table: one line a face, its fields parted by bars (paint/CMakeLists.txt
    reads it): face, units per em, ascent, descent, the advances of the blank to the tilde,
    and the kerning pairs as "left,right,adjustment" with the characters' codes."""
    lines = ["# Made by paint/face_metrics.py from the font files of paint/faces.txt: do not edit.",
             "# face | units per em | ascent | descent | advances of ' ' to '~' | kerning (left,right,units)"]
    for face in all_metrics:
        advances = " ".join(str(advance) for advance in face["advances"])
        pairs = " ".join("%d,%d,%d" % (ord(a), ord(b), value) for a, b, value in face["kerning"]) or "32,32,0"
        lines.append("%s | %d | %d | %d | %s | %s" % (face["face"], face["units"], face["ascent"], face["descent"],
                                                      advances, pairs))
    return "\n".join(lines) + "\n"


def main():
    check = sys.argv[1] == "--check"
    table, output = sys.argv[2:4] if check else sys.argv[1:3]
    text = source([metrics(face, path) for face, path in faces(table)])
    if check:
        with open(output, encoding="utf-8") as written:
            if written.read() != text:
                print("%s is not what the font files of %s give: run paint/face_metrics.py %s %s" %
                      (output, table, table, output))
                sys.exit(1)
        print("the faces' metrics are those of the installed font files")
        return
    with open(output, "w", encoding="utf-8") as out:
        out.write(text)


if __name__ == "__main__":
    main()
