#!/usr/bin/env bash
# The real program on a screen scaled by 2 under Xvfb, painted with a real click: every
# canvas pixel must come out as a sharp 2x2 block of one colour, grid lines included.
# Exit 77 (skipped) where there is no X server to start.
set -euo pipefail
prog=$1
here=$(dirname "$0")
for tool in xdotool import python3; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
# shellcheck source=../../scripts/lib/xvfb.sh
. "$here/../../scripts/lib/xvfb.sh"
work=$(mktemp -d)
ppid=
trap 'kill $ppid 2>/dev/null; stop_xvfb; rm -rf "$work"' EXIT
start_xvfb || { rc=$?; [ $rc = 77 ] && echo "skipped: no X server can be started here"; exit $rc; }
export QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=2
"$prog" 2>"$work/program.log" & ppid=$!
wait_for_window $ppid '^GRIDGLYPH Ver\. 1\.10$' >/dev/null || { cat "$work/program.log"; exit 1; }
# The red channel of one screen pixel, 0 to 255.
red() { convert "$1" -format "%[fx:int(255*p{$2,$3}.r+0.5)]" info:; }
# Wait until the window shows its grid before clicking.
for _ in $(seq 50); do
  import -window root "$work/ready.png" 2>/dev/null &&
    [ "$(red "$work/ready.png" 176 17)" = 192 ] && break
  sleep 0.2
done
# No window manager: the window's client area sits at the screen's origin. The canvas is
# at (88, 8); dot (2, 1) at 12 pixels a dot is at (88 + 29, 8 + 17), all doubled.
xdotool mousemove $(( (88 + 29) * 2 )) $(( (8 + 17) * 2 )) click 1
for _ in $(seq 50); do
  import -window root "$work/shot.png"
  [ "$(red "$work/shot.png" 234 50)" = 0 ] && break
  sleep 0.2
done
convert "$work/shot.png" "$work/shot.ppm"

python3 - "$work/shot.ppm" <<'PY'
import sys
data = open(sys.argv[1], 'rb').read()
# P6 header: magic, width, height, maxval, each followed by white space.
fields, pos = [], 0
while len(fields) < 4:
    while data[pos:pos+1].isspace(): pos += 1
    start = pos
    while not data[pos:pos+1].isspace(): pos += 1
    fields.append(data[start:pos])
width, height = int(fields[1]), int(fields[2])
pixels = data[pos+1:]
def px(x, y):
    i = 3 * (y * width + x)
    return tuple(pixels[i:i+3])
ox, oy = 88 * 2, 8 * 2          # the canvas on the screen
bad = []
for cy in range(0, 60):         # the first five rows of cells
    for cx in range(0, 60):
        block = {px(ox + 2*cx + dx, oy + 2*cy + dy) for dx in (0, 1) for dy in (0, 1)}
        if len(block) != 1:
            bad.append((cx, cy, block))
        colour = block.pop()
        on_grid = cx % 12 == 0 or cy % 12 == 0
        black = 25 <= cx <= 35 and 13 <= cy <= 23
        want = (0, 0, 0) if black else (0xC0, 0xC0, 0xC0) if on_grid else (255, 255, 255)
        if colour != want:
            bad.append((cx, cy, colour, want))
if bad:
    print("canvas pixels not shown as sharp blocks of the right colour:", bad[:10])
    sys.exit(1)
print("canvas shown sharp at scale 2: 3600 canvas pixels checked")
PY
