#!/usr/bin/env bash
# The real program on a desktop with a window manager (openbox under Xvfb), driven with real
# keys and clicks: the three window titles exactly as the program gives them, the outer size
# at start, painting from the keyboard and the whole-picture commands, mirror drawing, lines,
# the help window, a transparent GIF underlay showing white where it is transparent, the
# cursor over it, and the result window staying in front when the disabled main window is
# clicked.
# Exit 77 (skipped) where there is no X server or window manager to start.
set -euo pipefail
prog=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
for tool in openbox xdotool xprop xwininfo import convert; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
. "$here/../../scripts/lib/xvfb.sh"
work=$(mktemp -d)
ppid= obpid=
trap 'kill $ppid $obpid 2>/dev/null || true; stop_xvfb; rm -rf "$work"' EXIT
# The program's dialogs keep their history in the home folder: a scratch one, not the user's.
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config LANG=C.UTF-8
mkdir -p "$HOME"
start_xvfb 1280x1024x24 || { rc=$?; [ $rc = 77 ] && echo "skipped: no X server can be started here"; exit $rc; }
openbox --sm-disable >"$work/openbox.log" 2>&1 & obpid=$!
# Not `xprop | grep -q`: under pipefail, grep leaving early can fail xprop with SIGPIPE.
wm_running() { [[ "$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null)" == *"window id"* ]]; }
for _ in $(seq 100); do wm_running && break; sleep 0.1; done
wm_running || { echo "openbox did not start on $DISPLAY:"; cat "$work/openbox.log"; exit 1; }

# With GRIDGLYPH_SHOTS set to a folder, the screen is kept there after each check.
shot() { [ -n "${GRIDGLYPH_SHOTS:-}" ] && import -window root "$GRIDGLYPH_SHOTS/$1.png"; return 0; }
fail() { echo "FAIL: $*"; import -window root "$work/failed.png" 2>/dev/null && cp "$work/failed.png" /tmp/gridglyph-desktop-failed.png; exit 1; }
title() { xprop -id "$1" _NET_WM_NAME | sed -n 's/^[^"]*"\(.*\)"$/\1/p'; }
# window_titled TITLE: the visible window of the program with exactly that title.
titled_now() {
  local id
  for id in $(xdotool search --onlyvisible --pid "$ppid" --name . 2>/dev/null); do
    [ "$(title "$id")" = "$1" ] && { echo "$id"; return 0; }
  done
  return 1
}
window_titled() { poll 60 titled_now "$1"; }
# pixel X Y: the colour of one screen pixel as "r,g,b".
pixel() {
  import -window root "$work/shot.png"
  convert "$work/shot.png" -format "%[fx:int(255*p{$1,$2}.r+0.5)],%[fx:int(255*p{$1,$2}.g+0.5)],%[fx:int(255*p{$1,$2}.b+0.5)]" info:
}

convert -size 120x120 xc:none -fill red -draw 'circle 60,60 60,20' "$work/circle.gif"
cd "$work" # the open-file dialog starts in the current folder
QT_QPA_PLATFORM=xcb "$prog" 2>"$work/program.log" & ppid=$!
main=$(window_titled "GRIDGLYPH Ver. 1.10") || { cat "$work/program.log"; fail "no main window titled exactly \"GRIDGLYPH Ver. 1.10\""; }

# Outer size: the client area plus the frame the window manager put around it.
read -r l r t b < <(xprop -id "$main" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
w=$(xwininfo -id "$main" | sed -n 's/^ *Width: //p')
h=$(xwininfo -id "$main" | sed -n 's/^ *Height: //p')
[ "$((w + l + r))x$((h + t + b))" = 484x424 ] || fail "outer size $((w + l + r))x$((h + t + b)) at start, not 484x424"
# Where the client area is on the screen; the window manager may move it when it is resized.
origin() {
  x0=$(xwininfo -id "$main" | sed -n 's/^ *Absolute upper-left X: *//p')
  y0=$(xwininfo -id "$main" | sed -n 's/^ *Absolute upper-left Y: *//p')
}
origin
echo "main window: \"$(title "$main")\", outer size 484x424 (frame $l $r $t $b)"
shot start

# Screen pixels of the canvas at (88, 8) of the client area, 12 pixels a dot: a cell's middle,
# and the left edge of its block, where the cursor's orange outline runs.
cell() { pixel $((x0 + 88 + $1 * 12 + 6)) $((y0 + 8 + $2 * 12 + 6)); }
edge() { pixel $((x0 + 88 + $1 * 12)) $((y0 + 8 + $2 * 12 + 6)); }
cell_is() { [ "$(cell "$1" "$2")" = "$3" ]; }
edge_is() { [ "$(edge "$1" "$2")" = "$3" ]; }
# Each waits until the screen shows what is expected (the program answers in its own time on
# a busy machine), and fails with what it shows instead.
expect_cell() { poll 30 cell_is "$1" "$2" "$3" || fail "cell ($1, $2) shows $(cell "$1" "$2"), not $3 ${4:-}"; }
expect_edge() { poll 30 edge_is "$1" "$2" "$3" || fail "the left edge of cell ($1, $2) shows $(edge "$1" "$2"), not $3 ${4:-}"; }
outer_width() { echo $(( $(xwininfo -id "$main" | sed -n 's/^ *Width: //p') + l + r )); }
outer_width_is() { [ "$(outer_width)" = "$1" ]; }
black=0,0,0 white=255,255,255 orange=135,51,0
# From a fresh start the canvas has the focus: keys paint.
xdotool windowactivate --sync "$main" key Right Right Down space
expect_cell 2 1 $black "after Right Right Down Space"
expect_edge 2 1 $orange "(no cursor outline on the black cell)"
shot cursor-on-black
xdotool key Right
expect_edge 3 1 $orange "(no cursor outline on the white cell)"
shot cursor-on-white
xdotool key ctrl+i
expect_cell 0 0 $black "after Ctrl+I"; expect_cell 2 1 $white "after Ctrl+I"
xdotool key ctrl+z shift+h
expect_cell 29 1 $black "after Shift+H"
xdotool key shift+v ctrl+Right ctrl+Right ctrl+Right
expect_cell 0 30 $black "after Shift+V and three Ctrl+Right (wrapping round)"
xdotool key ctrl+z ctrl+z ctrl+z ctrl+z ctrl+z
expect_cell 29 30 $white "after undoing them"; expect_cell 2 1 $black "after undoing them"
echo "keyboard: painted (2, 1) with Right Right Down Space; Ctrl+I, Shift+H, Shift+V, Ctrl+Right wrapping, undone"
# Mirror drawing with a click, then a line with Shift and a click.
xdotool key m mousemove $((x0 + 88 + 4 * 12 + 6)) $((y0 + 8 + 10 * 12 + 6)) click 1
expect_cell 4 10 $black "(clicked with mirror drawing)"; expect_cell 27 10 $black "(the mirror of the click)"
xdotool key m keydown shift mousemove $((x0 + 88 + 10 * 12 + 6)) $((y0 + 8 + 10 * 12 + 6)) click 1 keyup shift
expect_cell 7 10 $black "(on the line Shift+click drew)"
echo "mirror drawing painted (4, 10) and (27, 10); Shift+click drew the line to (10, 10)"
shot mirror-and-line
# A click on a panel button (x12, already chosen) leaves the keyboard on the canvas.
xdotool mousemove $((x0 + 40 + 16)) $((y0 + 136 + 12)) click 1 key Right space
expect_cell 11 10 $black "(Right and Space after a click on x12)"
echo "after a click on x12, Right and Space painted (11, 10)"
# A wide picture turned: the window narrows around it.
xdotool mousemove $((x0 + 20)) $((y0 + 176)) click 1 key End BackSpace BackSpace 4 0 Tab End BackSpace BackSpace 1 6 alt+r
poll 30 outer_width_is 580 || fail "40 x 16: the window is $(outer_width) pixels wide, not 580"
xdotool key Tab ctrl+r
poll 30 outer_width_is 292 || fail "40 x 16 turned: the window is $(outer_width) pixels wide, not 292"
echo "40 x 16 turned with Ctrl+R: the window went from 580 to 292 pixels wide (outer)"
shot turned
# Back to an empty 32 x 32 for what follows.
origin
xdotool mousemove $((x0 + 20)) $((y0 + 176)) click 1 key End BackSpace BackSpace 3 2 Tab End BackSpace BackSpace 3 2 alt+r Tab alt+c
poll 30 outer_width_is 484 || fail "back at 32 x 32 the window is $(outer_width) pixels wide, not 484"
origin
expect_cell 2 1 $white "after 全消去"
# The keyboard to the canvas, its cursor on (11, 10), with a click of the right button.
xdotool mousemove $((x0 + 88 + 11 * 12 + 6)) $((y0 + 8 + 10 * 12 + 6)) click 3
xdotool key F1
help=$(window_titled "キーと操作") || fail "F1 opened no window titled \"キーと操作\""
echo "F1: \"$(title "$help")\""
shot help
xdotool windowactivate --sync "$help" key Escape
help_gone() { ! titled_now "キーと操作" >/dev/null; }
poll 30 help_gone || fail "Escape left the help window open"
# The help window gone, the keys reach the picture again without a click.
xdotool key space
expect_cell 11 10 $black "(Space after the help window closed)"
xdotool key ctrl+z
expect_cell 11 10 $white "(Ctrl+Z after the help window closed)"
echo "after the help window closed, Space and Ctrl+Z reached the picture"

# The underlay through the real dialog: Alt+T, the file's name, Enter.
xdotool windowactivate --sync "$main" key alt+t
dialog=$(window_titled "開く") || fail "no dialog titled exactly \"開く\""
echo "dialog: \"$(title "$dialog")\""
shot dialog
xdotool type --delay 20 circle.gif
xdotool key Return
# The canvas is at (88, 8) of the client area. Cell (0, 0) lies where the GIF is transparent,
# cell (5, 5) inside its red circle.
red_circle() { origin; [ "$(pixel $((x0 + 88 + 65)) $((y0 + 8 + 65)))" = 255,0,0 ]; }
poll 30 red_circle || true
origin
[ "$(pixel $((x0 + 88 + 65)) $((y0 + 8 + 65)))" = 255,0,0 ] || fail "the GIF underlay is not shown at $x0,$y0: $(pixel $((x0 + 88 + 65)) $((y0 + 8 + 65)))"
[ "$(pixel $((x0 + 88 + 5)) $((y0 + 8 + 5)))" = 255,255,255 ] || fail "a transparent underlay pixel shows $(pixel $((x0 + 93)) $((y0 + 13))), not white"
echo "transparent GIF underlay: white where transparent, red in the circle"
shot underlay
# The cursor over the underlay, on the canvas that still has the focus from the dialog's end.
xdotool mousemove $((x0 + 88 + 5 * 12 + 6)) $((y0 + 8 + 12 * 12 + 6)) click 3
xdotool key Up Up Up Up Up Up Up Right
expect_edge 6 5 $orange "(no cursor outline over the underlay)"
echo "the cursor shows over the underlay"
shot cursor-on-underlay

# A picture of 8000 x 8000 pixels, read on a worker thread for seconds: the canvas takes
# clicks every 50 ms meanwhile, each painted at once, and the picture lies under them once
# it is read.
python3 "$here/large_png.py" 8000 8000 2060C0 "$work/big.png"
python3 "$here/large_png.py" 8000 8000 20C060 "$work/big2.png"
blue=32,96,192
xdotool key alt+t
expect_cell 0 0 $white "(the underlay switched off)"
xdotool key alt+t
dialog=$(window_titled "開く") || fail "no dialog for the large picture"
xdotool type --delay 20 big.png
# Return, then at once ten clicks 50 ms apart, in one go.
clicks=()
for column in 0 1 2 3 4 5 6 7 8 9; do
  clicks+=(mousemove $((x0 + 88 + column * 12 + 6)) $((y0 + 8 + 20 * 12 + 6)) mousedown 1 mouseup 1 sleep 0.05)
done
xdotool key Return sleep 0.3 "${clicks[@]}"
dialog_gone() { ! titled_now "開く" >/dev/null; }
# In one screenshot: the ten dots painted, the picture not there yet (nor in cell (0, 0)).
import -window root "$work/shot.png"
shot large-picture-reading
at() { convert "$work/shot.png" -format "%[fx:int(255*p{$1,$2}.r+0.5)],%[fx:int(255*p{$1,$2}.g+0.5)],%[fx:int(255*p{$1,$2}.b+0.5)]" info:; }
painted=0
for column in 0 1 2 3 4 5 6 7 8 9; do
  [ "$(at $((x0 + 88 + column * 12 + 6)) $((y0 + 8 + 20 * 12 + 6)))" = $black ] && painted=$((painted + 1))
done
still=$(at $((x0 + 88 + 6)) $((y0 + 8 + 6)))
[ "$painted" = 10 ] || fail "of ten clicks during the reading, $painted were painted when the screen was looked at"
[ "$still" != $blue ] || echo "note: the picture was read before the clicks were looked at; the clicks were painted all the same"
expect_cell 0 0 $blue "(the large picture never came)"
expect_cell 5 20 $black "(a dot painted during the reading was lost)"
echo "8000 x 8000 PNG: ten clicks 50 ms apart were painted while it was read (the picture not yet there: $still), and then it lay under them"
shot large-picture-read
# Escape while the next one is read: the picture before it stays.
xdotool key alt+t
expect_cell 0 0 $white "(the underlay switched off)"
xdotool key alt+t
dialog=$(window_titled "開く") || fail "no dialog for the second large picture"
xdotool type --delay 20 big2.png
xdotool key Return
poll 30 dialog_gone || fail "the dialog did not close"
sleep 0.7
shot large-picture-stopping
xdotool key Escape
expect_cell 0 0 $blue "(after Escape the picture before it is not shown)"
sleep 5
expect_cell 0 0 $blue "(Escape did not stop the reading: the new picture came)"
echo "Escape during the reading of a second one: the picture before it stayed"
xdotool key ctrl+z
expect_cell 9 20 $blue "(Ctrl+Z did not take back the last click)"
expect_cell 8 20 $black "(Ctrl+Z took back more than the last click)"

# The result window, then a click on the disabled main window.
xdotool windowactivate --sync "$main" key alt+b
result=$(window_titled "(´ω｀)b") || fail "no result window titled exactly \"(´ω｀)b\""
echo "result window: \"$(title "$result")\""
xdotool mousemove $((x0 + 300)) $((y0 + 300)) click 1
top() { xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*, //; s/.*# //'; }
result_on_top() { [ "$(( $(top) ))" = "$result" ]; }
sleep 1
poll 30 result_on_top || fail "after a click on the main window, $(top) is on top, not the result window"
echo "a click on the disabled main window leaves the result window on top"
shot result-on-top

# Nothing the user makes is lost. Four dots painted with the keys, and the program killed
# once its recovery copy holds them: the next start asks, and Enter (はい) brings them back.
xdotool windowactivate --sync "$result" key Escape
result_gone() { ! titled_now "(´ω｀)b" >/dev/null; }
poll 30 result_gone || fail "Escape left the result window open"
xdotool windowactivate --sync "$main"
origin
xdotool mousemove $((x0 + 88 + 6)) $((y0 + 8 + 6)) click 3 key alt+t
expect_cell 0 0 $white "(the underlay switched off)"
xdotool key Home Prior space Right Right space Down Down space Left Left space
expect_cell 0 2 $black "(four dots painted)"
copy_holds_dots() {
  local copy
  for copy in "$XDG_DATA_HOME"/GRIDGLYPH/recovery/picture-*.txt; do
    sed -n 1p "$copy" | grep -q '^■□■' && sed -n 3p "$copy" | grep -q '^■□■' && return 0
  done
  return 1
}
export XDG_DATA_HOME=$HOME/.local/share
poll 30 copy_holds_dots || fail "no recovery copy holds the four dots"
kill -9 $ppid; wait $ppid 2>/dev/null || true
cd "$work"
QT_QPA_PLATFORM=xcb "$prog" 2>"$work/program.log" & ppid=$!
question=$(window_titled "GRIDGLYPH") || fail "no question after the program was killed"
shot recovery-question
xdotool windowactivate --sync "$question" key Return
main=$(window_titled "GRIDGLYPH Ver. 1.10")
origin
for c in "0 0" "2 0" "2 2" "0 2"; do expect_cell $c $black "(restored after kill -9)"; done
echo "killed with four dots painted: the next start asked, and Enter brought the four dots back"
# Ctrl+Q: the next start asks nothing and is the described one; Ctrl+Shift+O brings the
# picture back.
xdotool windowactivate --sync "$main" key ctrl+q
wait $ppid 2>/dev/null || true
QT_QPA_PLATFORM=xcb "$prog" 2>"$work/program.log" & ppid=$!
main=$(window_titled "GRIDGLYPH Ver. 1.10") || fail "no main window after a normal quit"
sleep 1
titled_now "GRIDGLYPH" >/dev/null && fail "a question after a normal quit"
origin
expect_cell 0 0 $white "(the start after a normal quit)"
xdotool windowactivate --sync "$main" key ctrl+shift+o
for c in "0 0" "2 0" "2 2" "0 2"; do expect_cell $c $black "(Ctrl+Shift+O)"; done
echo "after Ctrl+Q: no question, the described start; Ctrl+Shift+O brought the four dots back"
# Saved as text and as a picture through the save dialog, then opened again.
xdotool key ctrl+s
save=$(window_titled "名前を付けて保存") || fail "Ctrl+S opened no save dialog"
shot save-dialog
xdotool windowactivate --sync "$save" type --delay 20 four.txt
xdotool key Return
saved_text() { [ -s "$work/four.txt" ]; }
poll 30 saved_text || fail "Ctrl+S wrote no four.txt"
xdotool windowactivate --sync "$main" key ctrl+shift+s
save=$(window_titled "名前を付けて保存") || fail "Ctrl+Shift+S opened no save dialog"
xdotool windowactivate --sync "$save" type --delay 20 four.png
xdotool key Return
saved_png() { [ -s "$work/four.png" ]; }
poll 30 saved_png || fail "Ctrl+Shift+S wrote no four.png"
[ "$(identify -format '%wx%h' "$work/four.png")" = 32x32 ] || fail "four.png is $(identify -format '%wx%h' "$work/four.png")"
[ "$(convert "$work/four.png" -format '%[fx:int(255*p{2,2}.r)]%[fx:int(255*p{1,1}.r)]' info:)" = 0255 ] || fail "four.png has other dots"
xdotool windowactivate --sync "$main" key ctrl+c
sleep 0.5
xclip -selection clipboard -o >"$work/copied.txt" 2>/dev/null && { cmp -s "$work/copied.txt" "$work/four.txt" || fail "four.txt is not what Ctrl+C copies"; }
for file in four.png four.txt; do
  xdotool windowactivate --sync "$main" key alt+c
  expect_cell 0 0 $white "(cleared before opening $file)"
  xdotool key ctrl+o
  dialog=$(window_titled "開く") || fail "Ctrl+O opened no dialog"
  [ $file = four.png ] && shot open-dialog
  xdotool windowactivate --sync "$dialog" type --delay 20 $file
  xdotool key Return
  for c in "0 0" "2 0" "2 2" "0 2"; do expect_cell $c $black "(opened $file)"; done
  expect_cell 1 1 $white "(opened $file)"
done
echo "saved with Ctrl+S (four.txt, byte for byte what Ctrl+C copies) and Ctrl+Shift+S (four.png, 32 x 32), and each opened again with Ctrl+O, dot for dot"
shot opened-again

# The file open is named in the title, marked while the picture differs from it.
main_title_is() { [ "$(title "$main")" = "$1" ]; }
poll 30 main_title_is "four.txt - GRIDGLYPH Ver. 1.10" || fail "the title is \"$(title "$main")\" with four.txt open"
origin
xdotool windowactivate --sync "$main" mousemove $((x0 + 88 + 1 * 12 + 6)) $((y0 + 8 + 1 * 12 + 6)) click 1
poll 30 main_title_is "four.txt* - GRIDGLYPH Ver. 1.10" || fail "the title is \"$(title "$main")\" after a change"
xdotool key ctrl+z
poll 30 main_title_is "four.txt - GRIDGLYPH Ver. 1.10" || fail "the title is \"$(title "$main")\" after the change was undone"
echo "title: \"four.txt - GRIDGLYPH Ver. 1.10\", marked with * while changed"
# A name typed without its extension, beside the file it names: the question is about that
# file, Enter answers いいえ, the dialog asks again, Escape, and the file is as it was.
cp "$work/four.txt" "$work/four.before"
xdotool key ctrl+shift+s
save=$(window_titled "名前を付けて保存") || fail "Ctrl+Shift+S opened no save dialog"
xdotool windowactivate --sync "$save" key ctrl+a
xdotool type --delay 20 four
xdotool key Return
question=$(window_titled "GRIDGLYPH") || fail "no question before four.txt was replaced"
shot replace-question
xdotool windowactivate --sync "$question" key Return
save=$(window_titled "名前を付けて保存") || fail "いいえ did not ask for a name again"
xdotool windowactivate --sync "$save" key Escape
poll 30 dialog_gone || true
cmp -s "$work/four.txt" "$work/four.before" || fail "four.txt was replaced though いいえ was answered"
echo "\"four\" typed beside four.txt: asked, Enter (いいえ) and Escape left four.txt as it was"
# Ctrl+Q with the help window open ends the whole program.
xdotool windowactivate --sync "$main" key F1
help=$(window_titled "キーと操作") || fail "F1 opened no help window"
xdotool windowactivate --sync "$main" key ctrl+q
ended() { ! kill -0 "$ppid" 2>/dev/null; }
poll 30 ended || fail "Ctrl+Q with the help window open left the program running"
echo "Ctrl+Q with the help window open ended the program"

# The tools, with real keys and a real mouse, on a fresh start.
QT_QPA_PLATFORM=xcb "$prog" 2>"$work/program.log" & ppid=$!
main=$(window_titled "GRIDGLYPH Ver. 1.10") || fail "no main window for the tools"
origin
xdotool windowactivate --sync "$main"
at_dot() { echo "$((x0 + 88 + $1 * 12 + 6)) $((y0 + 8 + $2 * 12 + 6))"; }
drag_dots() { xdotool mousemove $(at_dot "$1" "$2") mousedown 1 mousemove $(at_dot $((($1 + $3) / 2)) $((($2 + $4) / 2))) mousemove $(at_dot "$3" "$4") mouseup 1; }
count_black() {
  import -window root "$work/shot.png"
  local n=0 x y
  for y in $(seq 0 "$2"); do for x in $(seq 0 "$1"); do
    [ "$(at $((x0 + 88 + x * 12 + 6)) $((y0 + 8 + y * 12 + 6)))" = $black ] && n=$((n + 1))
  done; done
  echo $n
}
# R, a drag from dot (2, 2) to (10, 10): the 32-dot outline.
xdotool key r
drag_dots 2 2 10 10
expect_cell 2 2 $black "(the rectangle's corner)"; expect_cell 10 10 $black "(its other corner)"; expect_cell 5 5 $white "(its inside)"
[ "$(count_black 14 14)" = 32 ] || fail "the rectangle has $(count_black 14 14) dots, not 32"
shot tools-rectangle
# G and a click at (5, 5): its inside, and nothing outside.
xdotool key g mousemove $(at_dot 5 5) click 1
expect_cell 5 5 $black "(filled)"; expect_cell 11 11 $white "(outside the rectangle)"
[ "$(count_black 14 14)" = 81 ] || fail "the filled rectangle has $(count_black 14 14) dots, not 81"
echo "R and a drag: the 32-dot outline; G and a click inside: 81 dots, nothing outside"
# A diagonal line of one dot stops a fill.
xdotool key alt+c sleep 0.5 key l   # the access key clicks a moment later, as a click does
drag_dots 0 8 8 0
xdotool key g mousemove $(at_dot 1 1) click 1
expect_cell 1 1 $black "(the fill on its side of the line)"; expect_cell 6 6 $white "(the fill crossed the diagonal line)"
shot tools-diagonal
echo "a diagonal line stopped the fill"
# O and a drag: an ellipse, symmetric; one Ctrl+Z takes it all away.
xdotool key alt+c sleep 0.5 key o
drag_dots 3 4 16 12
expect_cell 3 8 $black "(the ellipse's left end)"; expect_cell 16 8 $black "(its right end)"; expect_cell 3 4 $white "(its box's corner)"
for c in "9 4" "10 12" "3 7" "16 9"; do expect_cell $c $black "(the ellipse, symmetric)"; done
shot tools-ellipse
xdotool key ctrl+z
expect_cell 3 8 $white "(Ctrl+Z took the ellipse away)"; expect_cell 9 4 $white "(Ctrl+Z took the ellipse away)"
echo "O and a drag: a symmetric ellipse, gone with one Ctrl+Z"
# S, a drag around a rectangle, a drag inside moves it; Ctrl+Z puts it back; Ctrl+C copies its rows.
xdotool key r
drag_dots 2 2 5 4
xdotool key s
drag_dots 1 1 6 5
shot tools-selection
drag_dots 3 3 9 7
expect_cell 8 6 $black "(moved)"; expect_cell 2 2 $white "(the place it left)"
shot tools-moved
xdotool key ctrl+z
expect_cell 2 2 $black "(Ctrl+Z put it back)"; expect_cell 8 6 $white "(Ctrl+Z put it back)"
drag_dots 2 2 5 3
xdotool key ctrl+c
sleep 0.5
[ "$(xclip -selection clipboard -o 2>/dev/null | od -An -c | tr -d ' \n')" = "$(printf '■■■■\r\n■□□■\r\n' | od -An -c | tr -d ' \n')" ] || fail "Ctrl+C with the selection copied: $(xclip -selection clipboard -o 2>/dev/null)"
echo "S: a drag around and a drag inside moved the rectangle, Ctrl+Z put it back, Ctrl+C copied its two rows alone"
# Colour: Ctrl+K, 3 for red, the pen, a click; 7 for blue and another. The canvas shows each
# square's own colour, and Ctrl+C copies the squares.
xdotool key Escape ctrl+k
palette=$(window_titled "色") || fail "Ctrl+K showed no palette titled 色"
xdotool windowactivate --sync "$main" key 3 key b mousemove $(at_dot 20 20) click 1 key 7 mousemove $(at_dot 21 20) click 1
expect_cell 20 20 244,67,54 "(red, square 3)"; expect_cell 21 20 25,118,210 "(blue, square 7)"; expect_cell 2 2 $black "(black stays black)"
shot colour
xdotool key ctrl+c
sleep 0.5
xclip -selection clipboard -o 2>/dev/null | sed -n 21p | grep -q "^\(⬜\)\{20\}🟥🟦\(⬜\)\{10\}$(printf '\r')\$" || fail "Ctrl+C in colour copied row 21 as $(xclip -selection clipboard -o 2>/dev/null | sed -n 21p)"
echo "Ctrl+K, 3 and 7: red and blue dots in their own colours, copied as 🟥🟦"
xdotool key ctrl+q
poll 30 ended || fail "Ctrl+Q left the program running"

# The conversion window keeps its settings: Ctrl+T, Atkinson (Alt+D, two down), contrast +40
# (Alt+N, four pages), Enter; Ctrl+T again and Enter at once gives the very same dots. Alt+D,
# Down and Up there change the dither and back, and leave the framing where it was: the same
# dots again.
convert -size 240x200 gradient:white-gray25 -fill black -draw 'circle 120,100 120,50' -fill white -draw 'rectangle 60,40 90,160' "$work/shaded.png"
QT_QPA_PLATFORM=xcb "$prog" 2>"$work/program.log" & ppid=$!
main=$(window_titled "GRIDGLYPH Ver. 1.10") || fail "no main window for the conversion"
origin
xdotool windowactivate --sync "$main" key alt+t
window_titled "開く" >/dev/null || fail "no dialog for the conversion's underlay"
xdotool type --delay 20 shaded.png
xdotool key Return
sleep 1
canvas() { import -window root "$work/shot.png"; convert "$work/shot.png" -crop 384x384+$((x0 + 88))+$((y0 + 8)) +repage -depth 8 rgb:- | md5sum; }
converted() {
  window_titled "下絵から点を打つ" >/dev/null || fail "Ctrl+T showed no conversion window"
  sleep 0.5
  [ $# = 0 ] || xdotool key "$@"
  sleep 0.5
  xdotool key Return
  sleep 1
  origin
}
xdotool windowactivate --sync "$main" key ctrl+t
converted alt+d Down Down alt+n Prior Prior Prior Prior
first=$(canvas)
shot converted-atkinson
grep -q '^dither=2$' "$XDG_CONFIG_HOME/GRIDGLYPH/GRIDGLYPH.conf" && grep -q '^contrast=40$' "$XDG_CONFIG_HOME/GRIDGLYPH/GRIDGLYPH.conf" \
  || fail "the conversion's settings kept: $(cat "$XDG_CONFIG_HOME/GRIDGLYPH/GRIDGLYPH.conf")"
xdotool key ctrl+t
window_titled "下絵から点を打つ" >/dev/null && sleep 0.5 && shot convert-reopened
converted
[ "$(canvas)" = "$first" ] || fail "Ctrl+T and Enter again gave other dots than the settings kept"
xdotool key ctrl+t
converted alt+d Down Up
[ "$(canvas)" = "$first" ] || fail "Alt+D, Down and Up moved the framing or changed the dither"
echo "Ctrl+T kept Atkinson and contrast +40; Down and Up in its dither list left the framing alone"
xdotool key ctrl+q
poll 30 ended || fail "Ctrl+Q left the program running"
