#!/bin/sh
# Usage: icons_match_svg.sh RSVG_CONVERT COMPARE ICONS_DIR
set -eu
rsvg=$1 compare=$2 dir=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
for size in 48 64 128 256; do
  "$rsvg" -w $size -h $size -o "$tmp/$size.png" "$dir/org.gridglyph.GridGlyph.svg"
  differ=$("$compare" -metric AE "$tmp/$size.png" "$dir/${size}x$size/org.gridglyph.GridGlyph.png" null: 2>&1) || true
  [ "$differ" = 0 ] || { echo "the ${size}x$size icon is not the SVG drawn at that size ($differ pixels differ)"; exit 1; }
done
echo "4 bitmap icons match the SVG"
