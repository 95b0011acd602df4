#!/usr/bin/env bash
# Times turning 12-megapixel photos (4000 x 3000, baseline JPEGs at quality 90, made here
# with ImageMagick: a smooth fractal landscape, and the same with film grain, which costs a
# decoder the most) into a 48 x 48 black-and-white picture, by GRIDGLYPH's own path (BM_FitAndConvertPhoto: decode reduced, fit, average per
# dot, Otsu) and by three general image-to-text converters given the same file in the same
# run: jp2a, chafa and ImageMagick. They are installed here only, for this comparison.
# Usage: bench/peers.sh [runs, default 15]   (after scripts/setup has built the benchmarks)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-15}
. scripts/lib/packages.sh
install_missing jp2a chafa imagemagick time >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
convert -size 4000x3000 -seed 7 plasma:fractal -blur 0x2 -quality 90 -interlace none "$work/smooth.jpg"
convert "$work/smooth.jpg" -attenuate 0.4 +noise Gaussian -quality 90 -interlace none "$work/grainy.jpg"

# The median of `runs` runs of a command: wall time and CPU time (user + system), in ms.
median() {
  local i out=() cpu=()
  for i in $(seq "$runs"); do
    /usr/bin/time -f '%e %U %S' -o "$work/t" "$@" >/dev/null 2>&1
    read -r e u s <"$work/t"
    out+=("$(awk -v e="$e" 'BEGIN{print int(e*1000+0.5)}')")
    cpu+=("$(awk -v u="$u" -v s="$s" 'BEGIN{print int((u+s)*1000+0.5)}')")
  done
  printf '%s ms wall, %s ms CPU' \
    "$(printf '%s\n' "${out[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p")" \
    "$(printf '%s\n' "${cpu[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p")"
}
for kind in smooth grainy; do
  photo=$work/$kind.jpg
  echo "$kind photo: 4000 x 3000 baseline JPEG, $(( $(stat -c %s "$photo") / 1024 )) KiB"
  printf '  %-50s %s\n' "jp2a --width=48 (ASCII art)" "$(median jp2a --width=48 "$photo")"
  printf '  %-50s %s\n' "chafa -s 48x48 (symbols)" "$(median chafa -s 48x48 "$photo")"
  printf '  %-50s %s\n' "convert -resize 48x48 -monochrome (ImageMagick)" \
    "$(median convert "$photo" -resize 48x48 -monochrome "$work/out.png")"
  GRIDGLYPH_PHOTO=$photo QT_QPA_PLATFORM=offscreen build/bench/gridglyph_bench \
    --benchmark_filter=BM_FitAndConvertPhoto --benchmark_repetitions=5 \
    --benchmark_report_aggregates_only=true 2>/dev/null | grep -E '_median' |
    awk '{printf "  %-50s %s ms wall, %s ms CPU (in process)\n", "GRIDGLYPH: fit and convert to 48 x 48 (Otsu)", $2, $4}'
done
