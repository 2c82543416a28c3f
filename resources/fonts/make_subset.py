#!/usr/bin/python3
"""Makes numora-serif-sc.otf: the characters of the program's own texts, cut from
Noto Serif CJK SC Regular (SIL OFL 1.1, Debian: fonts-noto-cjk).

    tools/deps.sh font && resources/fonts/make_subset.py

Every character of src/ beyond ASCII is kept, comments' too, and all of printable ASCII
besides, so digits, Latin letters and punctuation never fall back to another font. The
family is renamed, so the cut never stands in for the full font a machine may have
(which a player's name can still use). Run it again after adding a text; the glyph check
of the windows test fails until then. Output is byte-identical for the same input.
"""
import pathlib
import sys

from fontTools import subset
from fontTools.ttLib import TTCollection

HERE = pathlib.Path(__file__).resolve().parent
SRC = HERE.parent.parent / "src"
SOURCE = pathlib.Path("/usr/share/fonts/opentype/noto/NotoSerifCJK-Regular.ttc")
FAMILY = "Numora Serif SC"
OUT = HERE / "numora-serif-sc.otf"


def text_characters():
    chars = {chr(c) for c in range(0x20, 0x7F)}
    for path in sorted(SRC.rglob("*")):
        if path.suffix in (".cpp", ".h"):  # as the glyph check of the windows test reads
            chars |= {c for c in path.read_text(encoding="utf-8") if c > "~"}
    return chars


def main():
    chars = text_characters()
    collection = TTCollection(str(SOURCE))
    font = next(f for f in collection.fonts if f["name"].getDebugName(1) == "Noto Serif CJK SC")
    options = subset.Options()
    options.name_IDs = ["*"]
    options.name_languages = ["*"]
    options.layout_features = ["*"]
    options.notdef_outline = True
    options.recalc_timestamp = False
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=[ord(c) for c in chars])
    subsetter.subset(font)
    names = font["name"]
    for rec in list(names.names):
        if rec.nameID in (1, 16):
            names.setName(FAMILY, rec.nameID, rec.platformID, rec.platEncID, rec.langID)
        elif rec.nameID in (3, 4):
            names.setName(FAMILY + " Regular", rec.nameID, rec.platformID, rec.platEncID, rec.langID)
        elif rec.nameID == 6:
            names.setName("NumoraSerifSC-Regular", rec.nameID, rec.platformID, rec.platEncID, rec.langID)
    font["CFF "].cff.fontNames = ["NumoraSerifSC-Regular"]
    font.save(str(OUT))
    print(f"{OUT.name}: {len(chars)} characters, {OUT.stat().st_size} bytes", file=sys.stderr)


if __name__ == "__main__":
    main()
