#!/usr/bin/env bash
# The clipboard and drops through the real X server, with xclip and owners and drag sources
# that misbehave: the text of a picture copied out and pasted back byte for byte; a picture
# pasted, turned into dots (Ctrl+T, Enter), undone and redone; owners that never answer,
# stop halfway, trickle, never stop or offer 100 MB, in the main window, the result window
# (Ctrl+V, Shift+Insert, the middle button) and a size field, each costing one time-out or
# one limit and a message, after which the program goes on; drags that never deliver or
# never stop; and a file named in Latin-1, on the command line and dropped. The program's
# peak memory stays under 400 MB throughout. The reader itself is held to its work (bytes
# taken in, time-outs reached) against the same owners by tst_underlay.
# Usage: clipboard.sh PROGRAM TST_UNDERLAY
# Exit 77 (skipped) where there is no X server or no xclip, python3-xlib.
set -euo pipefail
prog=$(realpath "$1")
tests=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)
py=/usr/bin/python3
for tool in xdotool xclip import convert; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
"$py" -c 'import Xlib' 2>/dev/null || { echo "skipped: python3-xlib is not installed"; exit 77; }
. "$here/../../scripts/lib/xvfb.sh"
work=$(mktemp -d)
ppid= owner= source=
trap 'kill $ppid $owner $source 2>/dev/null || true; stop_xvfb; rm -rf "$work"' EXIT
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config LANG=C.UTF-8
mkdir -p "$HOME"
start_xvfb || { rc=$?; [ $rc = 77 ] && echo "skipped: no X server can be started here"; exit $rc; }

# The reader against real owners, its work counted.
GRIDGLYPH_TEST_DISPLAY=$DISPLAY QT_QPA_PLATFORM=offscreen "$tests" selectionOwnersOnARealServer >"$work/reader.log" 2>&1 ||
  { cat "$work/reader.log"; echo "FAIL: the reader against real owners"; exit 1; }
grep -c '^PASS.*selectionOwnersOnARealServer' "$work/reader.log" | sed 's/^/the reader against real owners and drag sources: cases passed: /'

fail() { echo "FAIL: $*"; import -window root /tmp/gridglyph-clipboard-failed.png 2>/dev/null || true; exit 1; }
# The clipboard's text, once the program has put it there (xclip reads it from the program):
# a marker goes first, and the text is read once something else replaced it.
clipboard() { xclip -selection clipboard -o 2>/dev/null; }
not_marker() { [ "$(clipboard)" != "(waiting for the program)" ]; }
# xclip returns before the server has made it the owner (its request goes out from the
# process it leaves behind), and on a busy machine keys sent after it can be served first:
# an offer counts once xclip gives it back.
offered() { xclip -selection clipboard "${@:2}" -o 2>/dev/null | cmp -s - "$1"; }
offer() { # offer FILE [-t TYPE]
  xclip -selection clipboard "${@:2}" -i "$1"
  poll 30 offered "$@" || fail "xclip did not take the clipboard with $1"
}
copied() {
  printf '(waiting for the program)' >"$work/marker.txt"
  offer "$work/marker.txt"
  xdotool key ctrl+c
  poll 30 not_marker || fail "Ctrl+C put nothing on the clipboard"
  clipboard
}

QT_QPA_PLATFORM=xcb "$prog" 2>"$work/program.log" & ppid=$!
main=$(wait_for_window $ppid '^GRIDGLYPH Ver\. 1\.10$') || { cat "$work/program.log"; exit 1; }
# No window manager: the window has the keyboard from the start all the same.
red_at() { import -window root "$work/shot.png"; [ "$(convert "$work/shot.png" -format "%[fx:int(255*p{$1,$2}.r)]" info:)" = "$3" ]; }
xdotool mousemove 1000 1000 key Right space
poll 30 red_at $((88 + 12 + 6)) $((8 + 6)) 0 || fail "Right and Space at the start painted nothing"
xdotool key ctrl+z
poll 30 red_at $((88 + 12 + 6)) $((8 + 6)) 255 || fail "Ctrl+Z at the start did nothing"
echo "without a window manager, the keys reached the canvas from the start"
xdotool mousemove 60 400 click 1

# The text round trip, byte for byte.
printf '■□■\r\n□□■\r\n' >"$work/in.txt"
offer "$work/in.txt"
xdotool key ctrl+v
is_pasted() { [ "$(copied | head -c 3)" = "■" ]; }
poll 30 is_pasted || fail "the text pasted did not become the picture"
copied >"$work/out.txt"
cmp -s "$work/in.txt" "$work/out.txt" || fail "the text came back as $(od -c "$work/out.txt" | head -3)"
echo "text pasted and copied back byte for byte: $(wc -c <"$work/out.txt") bytes"
xdotool key ctrl+z
[ "$(copied | head -c 3)" = "□" ] || fail "Ctrl+Z did not bring back the empty picture"
# A 7 x 5 picture's text after a second conversion of its line ends, either way round: the
# same picture, and Ctrl+C gives the program's own text of it.
printf '■□□□□□■\r\n□■□□□■□\r\n□□■■■□□\r\n□■□□□■□\r\n■□□□□□■\r\n' >"$work/seven.txt"
for ends in 'crcrlf' 'lfcr'; do
  if [ $ends = crcrlf ]; then sed 's/\r$/\r\r/' "$work/seven.txt"; else tr -d '\r' <"$work/seven.txt" | sed 's/$/\r/' | tr -d '\n' | sed 's/\r/\n\r/g'; fi >"$work/doubled.txt"
  offer "$work/doubled.txt"
  xdotool key ctrl+v
  seven_wide() { [ "$(copied | head -n 1 | tr -d '\r')" = "■□□□□□■" ]; }
  poll 30 seven_wide || fail "the 7 x 5 text with $ends line ends did not become the picture"
  copied >"$work/back.txt"
  cmp -s "$work/seven.txt" "$work/back.txt" || fail "with $ends line ends the picture came back as $(od -c "$work/back.txt" | head -3)"
  xdotool key ctrl+z
  echo "a 7 x 5 picture's text with $ends line ends pasted: the same 7 x 5 picture, and its own text copied back"
done

# A picture of a disk, 2000 x 1500, pasted, turned into dots, undone and redone.
convert -size 2000x1500 xc:white -fill black -draw "circle 1000,750 1000,250" "$work/disk.png"
offer "$work/disk.png" -t image/png
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
# Each helper's log is emptied before the helper starts: the redirection of a command started
# with & is made in the new process, and until then the log still says what the last helper
# said.
owning() { grep -q owning "$work/owner.log"; }
start_owner() { # start_owner MODE [SELECTION]
  : >"$work/owner.log"
  "$py" "$here/clipboard_owner.py" "$@" >>"$work/owner.log" 2>&1 & owner=$!
  poll 30 owning || fail "the $1 owner did not take the selection"
}
stop_owner() { kill $owner 2>/dev/null || true; wait $owner 2>/dev/null || true; owner=; }
dropped() { grep -q dropped "$work/source.log"; }
start_source() { # start_source MODE: a drag from it dropped on the canvas
  : >"$work/source.log"
  "$py" "$here/drag_source.py" "$main" 200 200 "$1" >>"$work/source.log" 2>&1 & source=$!
  poll 30 dropped || fail "the drag source ($1) did not drop"
}
stop_source() { kill $source 2>/dev/null || true; wait $source 2>/dev/null || true; source=; }
for mode in silent stall trickle; do
  start_owner $mode
  xdotool mousemove 60 400 click 1
  xdotool key ctrl+v
  box=$(wait_for_window $ppid '^GRIDGLYPH$') || fail "$mode owner: no message"
  import -window root "$work/box-$mode.png"
  [ -n "${GRIDGLYPH_SHOTS:-}" ] && cp "$work/box-$mode.png" "$GRIDGLYPH_SHOTS/"
  xdotool windowfocus --sync "$box" key Return
  stop_owner
  box_gone() { ! window_of $ppid '^GRIDGLYPH$' >/dev/null; }
  poll 30 box_gone || fail "$mode owner: the message did not close"
  xdotool mousemove 60 400 click 1
  [ "$(copied | sed -n 16p | tr -d '\r')" = "$row" ] || fail "$mode owner: the picture changed"
  echo "$mode owner: one message, the picture intact, the program answering"
done

# What is left after each case below: a message, the program alive, its peak memory.
peak_mb() { echo $(( $(awk '/^VmHWM:/ {print $2}' /proc/$ppid/status) / 1024 )); }
box_gone() { ! window_of $ppid '^GRIDGLYPH$' >/dev/null; }
expect_message() { # expect_message CASE WORDS: one message saying WORDS, answered with Enter
  local box
  box=$(wait_for_window $ppid '^GRIDGLYPH$') || fail "$1: no message"
  import -window root "$work/$2.png"
  [ -n "${GRIDGLYPH_SHOTS:-}" ] && cp "$work/$2.png" "$GRIDGLYPH_SHOTS/"
  xdotool windowfocus --sync "$box" key Return
  poll 30 box_gone || fail "$1: the message did not close"
  kill -0 $ppid || fail "$1: the program died"
  [ "$(peak_mb)" -lt 400 ] || fail "$1: the program's peak memory is $(peak_mb) MB"
}

# An owner that never stops, and one that offers 100 MB: refused at the limit, at once.
for mode in endless flood; do
  start_owner $mode
  xdotool mousemove 60 400 click 1 key ctrl+v
  expect_message "Ctrl+V from a $mode owner" "main-$mode"
  stop_owner
  echo "$mode owner: \"too large\" at once, peak memory $(peak_mb) MB"
done

# Drags that never deliver or never stop, dropped on the canvas.
main=$(window_of $ppid '^GRIDGLYPH Ver\. 1\.10$')
for mode in silent trickle endless; do
  start_source $mode
  expect_message "a drop from a $mode drag source" "drop-$mode"
  stop_source
  echo "$mode drag source: one message, the program answering, peak memory $(peak_mb) MB"
done

# A picture named in Latin-1, dropped as a file list.
mkdir -p "$work/latin1"
convert -size 60x60 xc:'#2060C0' "$work/latin1/caf"$'\xe9'".png"
start_source "latin1=$work/latin1"
blue_under() { import -window root "$work/shot.png"; [ "$(convert "$work/shot.png" -format '%[fx:int(255*p{94,14}.b+0.5)]' info:)" = 192 ]; }
poll 30 blue_under || fail "a dropped picture named in Latin-1 did not become the underlay"
stop_source
echo "a dropped picture named in Latin-1 became the underlay"

# The result window's box: Ctrl+V and Shift+Insert with a frozen clipboard owner, the middle
# button with a frozen owner of the primary selection.
xdotool mousemove 60 400 click 1 key alt+b
result=$(wait_for_window $ppid '^\(´ω｀\)b$') || fail "no result window"
for how in ctrl+v shift+Insert middle; do
  if [ $how = middle ]; then start_owner silent PRIMARY; else start_owner silent; fi
  xdotool windowactivate --sync "$result" 2>/dev/null || xdotool windowfocus --sync "$result"
  if [ $how = middle ]; then xdotool mousemove 100 100 click 2; else xdotool mousemove 100 100 click 1 key $how; fi
  expect_message "$how in the result window with a frozen owner" "result-$how"
  stop_owner
  echo "$how in the result window, the owner frozen: one message, the program answering"
done
xdotool windowfocus --sync "$result" key Escape
result_gone() { ! window_of $ppid '^\(´ω｀\)b$' >/dev/null; }
poll 30 result_gone || fail "Escape did not close the result window"

# Shift+Insert in a size field with a frozen owner.
start_owner silent
xdotool mousemove 20 176 click 1 key shift+Insert
expect_message "Shift+Insert in a size field with a frozen owner" "size-field-shift-insert"
stop_owner
echo "Shift+Insert in a size field, the owner frozen: one message, the program answering"
# Quit normally (Ctrl+Q, from the size field): the next start asks nothing.
xdotool key ctrl+q
wait $ppid 2>/dev/null || true; ppid=

# A picture named in Latin-1 on the command line.
QT_QPA_PLATFORM=xcb "$prog" "$work/latin1/caf"$'\xe9'".png" 2>"$work/program.log" & ppid=$!
wait_for_window $ppid '^GRIDGLYPH Ver\. 1\.10$' >/dev/null || fail "the program did not start with a Latin-1 name"
poll 30 blue_under || fail "a picture named in Latin-1 on the command line did not become the underlay"
echo "a picture named in Latin-1 on the command line became the underlay"
