#!/usr/bin/env bash
# The real program on a Wayland desktop: a headless sway, a tiling compositor, with keys by
# wtype, the clipboard by wl-copy and wl-paste, screenshots by grim. The main window floats at
# its own size; keyboard painting; Ctrl+C read by wl-paste byte for byte; another program's
# text pasted after the program's own copy, and again after a second one; 200 MB on offer and
# an owner that never writes each cost one message, after which the picture is as it was and
# the keys reach it; the result and posting windows and F1; Ctrl+S and Ctrl+O through the
# dialog; and a picture brought back after kill -9.
# Usage: wayland.sh PROGRAM. Exit 77 (skipped) where no compositor can start.
set -euo pipefail
prog=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
for tool in sway wtype wl-copy wl-paste grim swaymsg; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
[ -e /usr/lib/x86_64-linux-gnu/qt6/plugins/platforms/libqwayland-generic.so ] || ls /usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so >/dev/null 2>&1 ||
  { echo "skipped: Qt's Wayland platform (qt6-wayland) is not installed"; exit 77; }
. "$here/../../scripts/lib/xvfb.sh" # poll
. "$here/../../scripts/lib/sway.sh"
work=$(mktemp -d)
ppid= copier=
trap 'kill $ppid $copier 2>/dev/null || true; stop_sway; rm -rf "$work"' EXIT
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share LANG=C.UTF-8
mkdir -p "$HOME"
start_sway || { rc=$?; [ $rc = 77 ] && echo "skipped: no Wayland compositor can be started here"; exit $rc; }

fail() { echo "FAIL: $*"; grim "/tmp/gridglyph-wayland-failed.png" 2>/dev/null || true; cat "$work/program.log" 2>/dev/null | tail -5; exit 1; }
shot() { [ -n "${GRIDGLYPH_SHOTS:-}" ] && grim "$GRIDGLYPH_SHOTS/wayland-$1.png"; return 0; }
tree() { swaymsg -t get_tree 2>/dev/null; }
titled() { tree | grep -q "\"name\": \"$1\""; }
window_titled() { poll 30 titled "$1"; }
gone() { ! titled "$1"; }
start() {
  cd "$work"
  QT_QPA_PLATFORM=wayland "$prog" "$@" 2>"$work/program.log" & ppid=$!
}
key() { wtype "$@"; sleep 0.2; }
# The clipboard's text once the program has put it there: another program's marker first.
marker() { [ "$(wl-paste -n 2>/dev/null)" = "(waiting for the program)" ]; }
not_marker() { ! marker; }
copied() {
  printf '(waiting for the program)' | wl-copy
  poll 30 marker || fail "wl-copy did not take the clipboard"
  key -M ctrl -k c -m ctrl
  poll 30 not_marker || fail "Ctrl+C put nothing on the clipboard"
  wl-paste -n
}
offer() { # offer FILE: another program's text on the clipboard, as wl-copy holds it
  wl-copy <"$1"
  offered() { wl-paste -n 2>/dev/null | cmp -s - "$1"; }
  poll 30 offered "$1" || fail "wl-copy did not take the clipboard with $1"
}
row() { printf '%s\r\n' "$@"; }
white_row=$(printf '□%.0s' $(seq 32))

start
window_titled "GRIDGLYPH Ver. 1.10" || fail "no main window titled exactly \"GRIDGLYPH Ver. 1.10\""
sleep 0.5
floating() {
  tree | /usr/bin/python3 -c '
import json, sys
def walk(n, floating):
    if n.get("name") == "GRIDGLYPH Ver. 1.10" and floating:
        sys.exit(0)
    for c in n.get("nodes", []):
        walk(c, floating)
    for c in n.get("floating_nodes", []):
        walk(c, True)
walk(json.load(sys.stdin), False)
sys.exit(1)'
}
poll 30 floating || fail "the main window was tiled over the screen, not floated at its size"
shot start
echo "main window: floated at its own size by a tiling compositor"

# Keyboard painting from the start, read back by another program byte for byte.
key -k Right -k space -k Down -k Down -k space
{ row "□■$(printf '□%.0s' $(seq 30))"; row "$white_row"; row "□■$(printf '□%.0s' $(seq 30))"
  for _ in $(seq 29); do row "$white_row"; done; } >"$work/expected.txt"
copied >"$work/copied.txt"
cmp -s "$work/copied.txt" "$work/expected.txt" || fail "Ctrl+C gave $(head -3 "$work/copied.txt")"
echo "keys painted two dots; wl-paste read Ctrl+C's text byte for byte"
shot painted

# Another program's text after the program's own copy, then after a second one.
row "■□■" "□■□" >"$work/first.txt"
row "■■" "□■" "■□" >"$work/second.txt"
for text in first second; do
  offer "$work/$text.txt"
  key -M ctrl -k v -m ctrl
  pasted() { [ "$(copied)" = "$(cat "$work/$text.txt")" ]; }
  poll 30 pasted || fail "the $text text from wl-copy did not become the picture: $(copied | head -3)"
done
echo "wl-copy's texts pasted after the program's own copies became the picture"
# The program's own copy pasted back: read through Qt, which holds it, without a wait or a word.
key -M ctrl -k c -m ctrl
key -M ctrl -k v -m ctrl
sleep 1
titled "GRIDGLYPH" && fail "pasting the program's own copy gave a message"
[ "$(copied)" = "$(cat "$work/second.txt")" ] || fail "pasting the program's own copy changed the picture"
echo "the program's own copy pasted back: the same picture, no message"
shot pasted

# 200 MB on offer, and an owner that never writes: one message each, the picture kept.
head -c 200000000 /dev/zero | tr '\0' '#' >"$work/big.txt"
wl-copy <"$work/big.txt"
big_offered() { [ "$(wl-paste -n 2>/dev/null | head -c 3)" = "###" ]; }
poll 60 big_offered || fail "wl-copy did not take 200 MB"
key -M ctrl -k v -m ctrl
window_titled "GRIDGLYPH" || fail "200 MB pasted: no message"
shot too-large
# Read on a connection of the program's own and cut off at the limit: Qt would have taken
# all 200 MB in before a word.
peak=$(sed -n 's/^VmHWM:[[:space:]]*\([0-9]*\) kB/\1/p' /proc/$ppid/status)
[ "$peak" -lt 150000 ] || fail "200 MB on offer took the program's memory to $peak kB" 
key -k Return
poll 30 gone "GRIDGLYPH" || fail "the message did not close"
printf 'x' | wl-copy --foreground & copier=$!
poll 30 titled "GRIDGLYPH Ver. 1.10" >/dev/null
x_offered() { [ "$(wl-paste -n 2>/dev/null)" = x ]; }
poll 30 x_offered || fail "wl-copy did not take x"
kill -STOP $copier
key -M ctrl -k v -m ctrl
window_titled "GRIDGLYPH" || fail "an owner that never writes: no message"
key -k Return
poll 30 gone "GRIDGLYPH" || fail "the message did not close"
kill -CONT $copier; kill $copier 2>/dev/null; wait $copier 2>/dev/null || true; copier=
[ "$(copied)" = "$(cat "$work/second.txt")" ] || fail "the picture changed after the messages"
echo "200 MB on offer and an owner that never writes: one message each, the picture as it was"

# The result window, the posting window, F1.
key -M alt -k b -m alt
window_titled "(´ω｀)b" || fail "Alt+B opened no result window"
shot result
key -k Escape
poll 30 gone "(´ω｀)b" || fail "Escape left the result window open"
key -M ctrl -k e -m ctrl
window_titled "投稿用テキスト" || fail "Ctrl+E opened no posting window"
shot posting
key -k Escape
poll 30 gone "投稿用テキスト" || fail "Escape left the posting window open"
key -k F1
window_titled "キーと操作" || fail "F1 opened no help window"
key -k Escape
poll 30 gone "キーと操作" || fail "Escape left the help window open"
echo "the result window, the posting window and F1 open and close with their keys"

# Saved through the dialog, cleared, opened again.
key -M ctrl -k s -m ctrl
window_titled "名前を付けて保存" || fail "Ctrl+S opened no save dialog"
shot save-dialog
key "$work/two.txt"
key -k Return
saved() { [ -s "$work/two.txt" ]; }
poll 30 saved || fail "Ctrl+S wrote no two.txt"
cmp -s "$work/two.txt" "$work/second.txt" || fail "two.txt is not the picture's text"
key -M alt -k c -m alt
cleared() { [ "$(copied | head -1)" = "$(printf '□□\r')" ]; }
poll 30 cleared || fail "Alt+C did not clear the picture"
key -M ctrl -k o -m ctrl
window_titled "開く" || fail "Ctrl+O opened no dialog"
key "$work/two.txt"
key -k Return
opened() { [ "$(copied)" = "$(cat "$work/second.txt")" ]; }
poll 30 opened || fail "Ctrl+O did not open two.txt"
echo "Ctrl+S and Ctrl+O through the dialog: saved and opened again, byte for byte"

# Killed with a picture painted: the next start asks, and Enter brings it back.
copy_holds() {
  local copy
  for copy in "$XDG_DATA_HOME"/GRIDGLYPH/recovery/picture-*.txt; do
    cmp -s "$copy" "$work/second.txt" && return 0
  done
  return 1
}
poll 30 copy_holds || fail "no recovery copy holds the picture"
kill -9 $ppid; wait $ppid 2>/dev/null || true
start
window_titled "GRIDGLYPH" || fail "no question after the program was killed"
shot recovery-question
key -k Return
poll 30 gone "GRIDGLYPH" || fail "the question did not close"
window_titled "GRIDGLYPH Ver. 1.10" || fail "no main window after the question"
poll 30 opened || fail "Enter did not bring the picture back"
echo "killed: the next start asked, and Enter brought the picture back"
key -M ctrl -k q -m ctrl
ended() { ! kill -0 $ppid 2>/dev/null; }
poll 30 ended || fail "Ctrl+Q left the program running"
