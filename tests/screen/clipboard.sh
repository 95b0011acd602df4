#!/usr/bin/env bash
# The clipboard through the real X server, with xclip and owners that misbehave: the text
# of a picture copied out and pasted back byte for byte; a picture pasted, turned into dots
# (Ctrl+T, Enter), undone and redone; and owners that never answer, stop halfway or trickle,
# each costing one time-out and a message, after which the program goes on.
# Exit 77 (skipped) where there is no X server or no xclip, python3-xlib.
set -euo pipefail
prog=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
py=/usr/bin/python3
for tool in xdotool xclip import convert; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
"$py" -c 'import Xlib' 2>/dev/null || { echo "skipped: python3-xlib is not installed"; exit 77; }
. "$here/../../scripts/lib/xvfb.sh"
work=$(mktemp -d)
ppid= owner=
trap 'kill $ppid $owner 2>/dev/null || true; stop_xvfb; rm -rf "$work"' EXIT
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config LANG=C.UTF-8
mkdir -p "$HOME"
start_xvfb || { rc=$?; [ $rc = 77 ] && echo "skipped: no X server can be started here"; exit $rc; }
fail() { echo "FAIL: $*"; import -window root /tmp/gridglyph-clipboard-failed.png 2>/dev/null || true; exit 1; }
# The clipboard's text, once the program has put it there (xclip reads it from the program):
# a marker goes first, and the text is read once something else replaced it.
clipboard() { xclip -selection clipboard -o 2>/dev/null; }
not_marker() { [ "$(clipboard)" != "(waiting for the program)" ]; }
copied() {
  printf '(waiting for the program)' | xclip -selection clipboard -i
  xdotool key ctrl+c
  poll 30 not_marker || fail "Ctrl+C put nothing on the clipboard"
  clipboard
}

QT_QPA_PLATFORM=xcb "$prog" 2>"$work/program.log" & ppid=$!
main=$(wait_for_window $ppid '^GRIDGLYPH Ver\. 1\.10$') || { cat "$work/program.log"; exit 1; }
# No window manager: the pointer gives the focus; a click on bare window background takes it.
xdotool mousemove 60 400 click 1

# The text round trip, byte for byte.
printf '■□■\r\n□□■\r\n' >"$work/in.txt"
xclip -selection clipboard -i "$work/in.txt"
xdotool key ctrl+v
is_pasted() { [ "$(copied | head -c 3)" = "■" ]; }
poll 30 is_pasted || fail "the text pasted did not become the picture"
copied >"$work/out.txt"
cmp -s "$work/in.txt" "$work/out.txt" || fail "the text came back as $(od -c "$work/out.txt" | head -3)"
echo "text pasted and copied back byte for byte: $(wc -c <"$work/out.txt") bytes"
xdotool key ctrl+z
[ "$(copied | head -c 3)" = "□" ] || fail "Ctrl+Z did not bring back the empty picture"

# A picture of a disk, 2000 x 1500, pasted, turned into dots, undone and redone.
convert -size 2000x1500 xc:white -fill black -draw "circle 1000,750 1000,250" "$work/disk.png"
xclip -selection clipboard -t image/png -i "$work/disk.png"
# Ctrl+T at once: the picture is still being read, and the window for it opens once it is.
xdotool key ctrl+v ctrl+t
dialog=$(wait_for_window $ppid '^下絵から点を打つ$') || fail "no window \"下絵から点を打つ\""
xdotool windowfocus --sync "$dialog" key Return
# The middle of the disk: cell (16, 16) of the canvas at (88, 8).
disk_shown() {
  import -window root "$work/shot.png"
  [ "$(convert "$work/shot.png" -format '%[fx:int(255*p{290,210}.r)]' info:)" = 0 ]
}
poll 30 disk_shown || fail "no disk after Ctrl+T, Enter"
echo "a 2000 x 1500 picture pasted and turned into dots with Ctrl+V Ctrl+T Enter"
xdotool mousemove 60 400 click 1
row=$(copied | sed -n 16p | tr -d '\r')
[ "$row" = "□□□□□□□□■■■■■■■■■■■■■■■■□□□□□□□□" ] || fail "row 16 of the dots is $row"
xdotool key ctrl+z
[ "$(copied | grep -c ■ || true)" = 0 ] || fail "Ctrl+Z did not take the dots back"
xdotool key ctrl+y
[ "$(copied | sed -n 16p | tr -d '\r')" = "$row" ] || fail "Ctrl+Y did not bring the dots again"
xdotool key ctrl+t
dialog=$(wait_for_window $ppid '^下絵から点を打つ$')
xdotool windowfocus --sync "$dialog" key Tab Tab Right Right Right Right Escape
dialog_gone() { ! window_of $ppid '^下絵から点を打つ$' >/dev/null; }
poll 30 dialog_gone || fail "Escape did not close the window"
xdotool mousemove 60 400 click 1
[ "$(copied | sed -n 16p | tr -d '\r')" = "$row" ] || fail "Escape left the dots changed"
echo "Ctrl+Z, Ctrl+Y and Escape: the dots as they should be"

# Owners that misbehave: one time-out, one message, and the program goes on.
owning() { grep -q owning "$work/owner.log"; }
for mode in silent stall trickle; do
  "$py" "$here/clipboard_owner.py" $mode >"$work/owner.log" 2>&1 & owner=$!
  poll 30 owning || fail "the $mode owner did not take the clipboard"
  xdotool mousemove 60 400 click 1
  xdotool key ctrl+v
  box=$(wait_for_window $ppid '^GRIDGLYPH$') || fail "$mode owner: no message"
  import -window root "$work/box-$mode.png"
  [ -n "${GRIDGLYPH_SHOTS:-}" ] && cp "$work/box-$mode.png" "$GRIDGLYPH_SHOTS/"
  xdotool windowfocus --sync "$box" key Return
  kill $owner; wait $owner 2>/dev/null || true; owner=
  box_gone() { ! window_of $ppid '^GRIDGLYPH$' >/dev/null; }
  poll 30 box_gone || fail "$mode owner: the message did not close"
  xdotool mousemove 60 400 click 1
  [ "$(copied | sed -n 16p | tr -d '\r')" = "$row" ] || fail "$mode owner: the picture changed"
  echo "$mode owner: one message, the picture intact, the program answering"
done
