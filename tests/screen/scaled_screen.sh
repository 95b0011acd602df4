#!/usr/bin/env bash
# The real program on scaled screens under Xvfb. Scaled by 2, painted with a real click:
# every canvas pixel must come out as a sharp 2x2 block of one colour, grid lines included.
# Scaled by a fraction (Xft.dpi 120, 144, 168: 125 %, 150 %, 175 %), at x12, x9, x7, x5
# and x3: every grid line along a row and a column of the canvas is one device pixel wide,
# every cell within one pixel of every other, and a click on a cell's first device pixel
# paints that cell.
# Exit 77 (skipped) where there is no X server to start.
set -euo pipefail
prog=$1
here=$(dirname "$0")
for tool in xdotool import python3 xrdb; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
# shellcheck source=../../scripts/lib/xvfb.sh
. "$here/../../scripts/lib/xvfb.sh"
work=$(mktemp -d)
ppid=
trap 'kill $ppid 2>/dev/null || true; stop_xvfb; rm -rf "$work"' EXIT
start_xvfb || { rc=$?; [ $rc = 77 ] && echo "skipped: no X server can be started here"; exit $rc; }
export QT_QPA_PLATFORM=xcb HOME=$work/home
# Each start in a data folder of its own: the one before was ended by a signal, and its
# picture would be offered back.
fresh_data() { export XDG_DATA_HOME=$(mktemp -d -p "$work"); }
# The red channel of one screen pixel, 0 to 255.
red() { convert "$1" -format "%[fx:int(255*p{$2,$3}.r+0.5)]" info:; }
# Waits until screen pixel (X, Y) has red value V; keeps the screen in $work/shot.png.
is_red() { import -window root "$work/shot.png" 2>/dev/null && [ "$(red "$work/shot.png" "$1" "$2")" = "$3" ]; }
wait_red() { poll 20 is_red "$@" || { echo "screen pixel ($1, $2) never had red $3"; cp "$work/shot.png" /tmp/gridglyph-scaled-failed.png; return 1; }; }

fresh_data
QT_SCALE_FACTOR=2 "$prog" 2>"$work/program.log" & ppid=$!
wait_for_window $ppid '^GRIDGLYPH Ver\. 1\.10$' >/dev/null || { cat "$work/program.log"; exit 1; }
wait_red 176 17 192
# No window manager: the window's client area sits at the screen's origin. The canvas is
# at (88, 8); dot (2, 1) at 12 pixels a dot is at (88 + 29, 8 + 17), all doubled.
xdotool mousemove $(( (88 + 29) * 2 )) $(( (8 + 17) * 2 )) click 1
wait_red 234 50 0
convert "$work/shot.png" "$work/shot.ppm"
python3 "$here/screen_pixels.py" sharp2x "$work/shot.ppm"
kill $ppid; wait $ppid 2>/dev/null || true; ppid=

for dpi in 120 144 168; do
  echo "Xft.dpi: $dpi" | xrdb -merge
  scale=$(python3 -c "print($dpi / 96)")
  fresh_data
  "$prog" 2>"$work/program.log" & ppid=$!
  wait_for_window $ppid '^GRIDGLYPH Ver\. 1\.10$' >/dev/null || { cat "$work/program.log"; exit 1; }
  dev() { python3 -c "import math; print(int(math.floor($1 * $scale)))"; }
  ox=$(dev 88); oy=$(dev 8)
  wait_red "$ox" "$((oy + 1))" 192
  for m in 12 9 7 5 3; do
    # The magnification button: left column x2..x6, right column x7..x12, rows of 24 pixels.
    i=$((m - 1)); bx=$(( i < 6 ? 8 : 40 )); by=$(( 16 + 24 * (i % 6) ))
    xdotool mousemove "$(dev $((bx + 16)))" "$(dev $((by + 12)))" click 1
    # Visible whole device pixels of the 32-dot canvas, and the grid line after the first cell.
    length=$(python3 -c "print(int(32 * $m * $scale + 1e-9))")
    wait_red "$((ox + length - 1))" "$((oy + 1))" 255
    wait_red "$ox" "$((oy + length - 1))" 192
    convert "$work/shot.png" "$work/shot.ppm"
    python3 "$here/screen_pixels.py" runs "$work/shot.ppm" row "$((oy + 1))" "$ox" "$length" 32 | sed "s/^/$dpi dpi, x$m: /"
    python3 "$here/screen_pixels.py" runs "$work/shot.ppm" column "$((ox + 1))" "$oy" "$length" 32 | sed "s/^/$dpi dpi, x$m: /"
  done
  # At x3 the smallest cells: a click on cell (4, 0)'s first device pixel inside paints it.
  first=$(( $(python3 "$here/screen_pixels.py" grey "$work/shot.ppm" "$ox" "$((oy + 1))" 4) + 1 ))
  xdotool mousemove "$first" "$((oy + 2))" click 1
  wait_red "$first" "$((oy + 2))" 0
  echo "$dpi dpi: a click on the first device pixel of cell 4 painted that cell"
  kill $ppid; wait $ppid 2>/dev/null || true; ppid=
done
