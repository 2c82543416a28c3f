#!/bin/sh
# Rebuilds every PNG under bitmaps/ and icon/ from the SVG sources in art/
# and icon/numora.svg.
#
#   cd resources && python3 art/make_svgs.py && ./render.sh
#
# Needs rsvg-convert (Debian: librsvg2-bin). The splash picture (bmp102) and
# its title use the font "Noto Sans CJK SC" Bold (Debian: fonts-noto-cjk);
# the PNGs are committed, so fonts only matter when re-rendering.
# Safe to run repeatedly: every output is simply overwritten.
set -eu
cd "$(dirname "$0")"

# pixel size of an SVG = its width/height attributes on the root element
svgsize() {
    sed -n 's/.*<svg[^>]* width="\([0-9]*\)" height="\([0-9]*\)".*/\1 \2/p' "$1" | head -n 1
}

mkdir -p bitmaps icon
for svg in art/bmp*.svg; do
    name=$(basename "$svg" .svg)
    set -- $(svgsize "$svg")
    w=$1 h=$2
    rsvg-convert -w "$w" -h "$h" -o "bitmaps/$name.png" "$svg"
    rsvg-convert -w $((w * 2)) -h $((h * 2)) -o "bitmaps/$name@2x.png" "$svg"
done

for px in 16 32 48 64 128 256; do
    rsvg-convert -w "$px" -h "$px" -o "icon/numora-$px.png" icon/numora.svg
done
echo "rendered $(ls bitmaps/*.png | wc -l) bitmaps and 6 icon sizes"
