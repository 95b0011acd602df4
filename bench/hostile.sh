#!/usr/bin/env bash
# The pictures whose cost lies outside their pixels, at their full size, opened through the
# real program on a private X server as "Open with" (the command line) opens them, the same
# path as a drop: how long from the start until the program answers (a message, or the
# picture under the grid), beside a start with no file, and the program's peak memory then.
# Usage: bench/hostile.sh [program, default build/app/gridglyph]   (some 2 GB of disk in /tmp)
set -euo pipefail
cd "$(dirname "$0")/.."
prog=$(realpath "${1:-build/app/gridglyph}")
. scripts/lib/xvfb.sh
work=$(mktemp -d)
ppid=
trap 'kill $ppid 2>/dev/null || true; stop_xvfb; rm -rf "$work"' EXIT
start_xvfb
export QT_QPA_PLATFORM=xcb HOME=$work
py=/usr/bin/python3

"$py" - "$work" <<'PY'
import sys, struct, zlib, os
d = sys.argv[1]
def chunk(t, body):
    return struct.pack('>I', len(body)) + t + body + struct.pack('>I', zlib.crc32(t + body) & 0xffffffff)
ihdr = chunk(b'IHDR', struct.pack('>IIBBBBB', 16, 16, 8, 2, 0, 0, 0))
idat = chunk(b'IDAT', zlib.compress(b''.join(b'\0' + b'\0' * 48 for _ in range(16))))
z = chunk(b'zTXt', b'Comment\0\0' + zlib.compress(b'\0' * 7900000, 9))
open(f'{d}/ztxt.png', 'wb').write(b'\x89PNG\r\n\x1a\n' + ihdr + z * 100 + idat + chunk(b'IEND', b''))
open(f'{d}/claims-4gb.ico', 'wb').write(b'\0\0\1\0\1\0' + bytes([0, 0, 0, 0, 1, 0, 32, 0]) + struct.pack('<II', 0xFFFFFFFF, 22) + b'i' * 4000)
open(f'{d}/blanks.pgm', 'wb').write(b'P2\n1 1\n255\n' + b' ' * (500 << 20) + b'0\n')
with open(f'{d}/budget.ppm', 'wb') as f:
    f.write(b'P3\n6400 6400\n255\n')
    row = b'0 0 0 ' * 6400 + b'\n'
    for _ in range(6400): f.write(row)
PY
convert -size 64x64 xc:gray50 -quality 90 "$work/small.jpg"
convert -size 64x64 xc:gray50 -quality 90 -interlace JPEG "$work/progressive.jpg"
"$py" - "$work" <<'PY'
import sys
d = sys.argv[1]
jpeg = open(f'{d}/small.jpg', 'rb').read()
seg = b'\xff\xfe' + (65535).to_bytes(2, 'big') + b'c' * 65533
with open(f'{d}/comments.jpg', 'wb') as f:
    f.write(jpeg[:2])
    for _ in range(8000): f.write(seg)
    f.write(jpeg[2:])
PY
cp "$work/progressive.jpg" "$work/padded.jpg"
truncate -s 64G "$work/padded.jpg"

# Runs the program on FILE; prints the milliseconds until it answered and its peak memory.
answer() {
  local start t hwm
  start=$(date +%s%N)
  "$prog" "$@" 2>/dev/null & ppid=$!
  for _ in $(seq 3000); do
    if xdotool search --onlyvisible --pid $ppid --name '^GRIDGLYPH$' >/dev/null 2>&1; then break; fi
    if [ $# = 0 ] || [ "${expect:-}" = loaded ]; then
      if xdotool search --onlyvisible --pid $ppid --name '^GRIDGLYPH Ver' >/dev/null 2>&1 &&
         { [ $# = 0 ] || [ "$(import -window root -crop 1x1+93+13 txt:- 2>/dev/null | grep -c '#000000')" = 1 ]; }; then break; fi
    fi
    sleep 0.01
  done
  t=$(( ($(date +%s%N) - start) / 1000000 ))
  hwm=$(awk '/VmHWM/ {print int($2 / 1024)}' /proc/$ppid/status)
  kill $ppid; wait $ppid 2>/dev/null || true; ppid=
  echo "$t $hwm"
}
read -r base basemem < <(answer)
echo "program start (no file): $base ms, peak $basemem MB"
for f in ztxt.png claims-4gb.ico comments.jpg padded.jpg blanks.pgm budget.ppm; do
  expect=; [ "$f" = ztxt.png ] && expect=loaded
  read -r t mem < <(answer "$work/$f")
  printf '%-18s %8s on disk   answered %5d ms after start (%+d ms on a start with no file)   peak %4d MB\n' \
    "$f" "$(du -h --apparent-size "$work/$f" | cut -f1)" "$t" $(( t - base )) "$mem"
done
