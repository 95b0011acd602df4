#!/usr/bin/env bash
# Whole process against whole process: turning photos into a 48 x 48 picture of text with
# `gridglyph --text` and with four general image-to-text converters given the same file in
# the same run (jp2a, chafa, img2txt of libcaca, ImageMagick), timed by hyperfine (medians,
# warm-up runs first), and the program's start without a display (--version). The photos are
# made here with ImageMagick: a smooth fractal landscape and the same with film grain, which
# costs a decoder the most, both 12 megapixels (4000 x 3000), and a grainy 27-megapixel one
# (6000 x 4500); baseline JPEGs at quality 90. The converters are installed here only, for
# this comparison. Then the conversion in process (Google Benchmark) for the same photos.
# Usage: bench/peers.sh [runs, default 15]   (after scripts/setup has built the program)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-15}
. scripts/lib/packages.sh
install_missing hyperfine jp2a chafa caca-utils imagemagick libjpeg-turbo-progs >/dev/null
program=$PWD/build/app/gridglyph
# ImageMagick itself, not a wrapper some systems put before it on the PATH.
convert=$(command -v /usr/bin/convert convert | head -1)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
"$convert" -size 4000x3000 -seed 7 plasma:fractal -blur 0x2 -quality 90 -interlace none smooth.jpg
"$convert" smooth.jpg -attenuate 0.4 +noise Gaussian -quality 90 -interlace none grainy.jpg
"$convert" -size 6000x4500 -seed 9 plasma:fractal -blur 0x2 -attenuate 0.4 +noise Gaussian -quality 90 \
  -interlace none large.jpg

# The reduction the window decodes a JPEG at (and so --text, for the same dots): the
# smallest of 1/1, 1/2, 1/4, 1/8 that still covers the largest canvas filled (1188 pixels).
reduction() {
  identify -format '%w %h' "$1.jpg" | awk '{ s = ($1 < $2 ? $1 : $2); d = 1;
    while (d < 8 && s / (d * 2) >= 1188) d *= 2; print "1/" d }'
}
echo "$(nproc) cores: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'); load $(cut -d' ' -f1-3 /proc/loadavg)"
for photo in smooth grainy large; do
  echo
  echo "$photo.jpg: $(identify -format '%w x %h' "$photo.jpg"), $(( $(stat -c %s "$photo.jpg") / 1024 )) KiB"
  hyperfine -N --style none --warmup 3 --runs "$runs" --export-json "$photo.json" \
    -n "gridglyph --text --size 48x48" "$program --text --size 48x48 $photo.jpg" \
    -n "jp2a --width=48" "jp2a --width=48 $photo.jpg" \
    -n "chafa -s 48x48" "chafa -s 48x48 $photo.jpg" \
    -n "img2txt -W 48" "img2txt -W 48 $photo.jpg" \
    -n "convert -resize 48x48 -monochrome" "$convert $photo.jpg -resize 48x48 -monochrome out.png" \
    -n "gridglyph --version" "$program --version" \
    -n "libjpeg alone, at the window's reduction: djpeg -scale $(reduction "$photo")" \
       "djpeg -scale $(reduction "$photo") -outfile /dev/null $photo.jpg" \
    -n "libjpeg alone, at an eighth: djpeg -scale 1/8" "djpeg -scale 1/8 -outfile /dev/null $photo.jpg" >/dev/null
  # Medians (hyperfine's own table shows means), and each against the fastest converter.
  python3 - "$photo.json" <<'TABLE'
import json, sys
results = json.load(open(sys.argv[1]))["results"]
fastest = min(r["median"] for r in results if not r["command"].startswith(("gridglyph", "libjpeg")))
median = {r["command"]: r["median"] for r in results}
ours = next(v for k, v in median.items() if k.startswith("gridglyph --text"))
# The floor: the process started (--version) and the JPEG decoded at the reduction used.
floor = median["gridglyph --version"] + next(v for k, v in median.items() if "window's reduction" in k)
print("| command | median | mean ± σ | min | fastest converter / this |")
print("|:---|---:|---:|---:|---:|")
for r in results:
    print("| `%s` | %.1f ms | %.1f ± %.1f ms | %.1f ms | %.2f |" % (r["command"], r["median"] * 1000, r["mean"] * 1000,
          r["stddev"] * 1000, r["min"] * 1000, fastest / r["median"]))
print("| the floor: start and decoding | %.1f ms | | | gridglyph / floor: %.2f |" % (floor * 1000, ours / floor))
TABLE
done

cd - >/dev/null
for photo in smooth grainy large; do
  GRIDGLYPH_PHOTO=$work/$photo.jpg QT_QPA_PLATFORM=offscreen build/bench/gridglyph_bench \
    --benchmark_filter=BM_FitAndConvertPhoto --benchmark_repetitions=5 \
    --benchmark_report_aggregates_only=true 2>/dev/null | grep -E '_median' |
    awk -v p="$photo" '{printf "in process, %s: fit and convert to 48 x 48 (Otsu): %s ms wall, %s ms CPU\n", p, $2, $4}'
done
