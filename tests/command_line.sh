#!/bin/sh
# Usage: command_line.sh PROGRAM. The answers to --version, --help and a wrong option, and
# the conversions --text and --png, with no display at all: the exact text, the exit status,
# the stream.
set -eu
prog=$1
out=$(mktemp) err=$(mktemp) dir=$(mktemp -d)
trap 'rm -rf "$out" "$err" "$dir"' EXIT
run() { env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb LANG=C.UTF-8 LC_ALL= "$prog" "$@" >"$out" 2>"$err"; }
fail() { echo "FAIL: $*"; echo "stdout:"; cat "$out"; echo "stderr:"; cat "$err"; exit 1; }

run --version || fail "--version exited $?"
[ "$(cat "$out")" = "GRIDGLYPH 1.10" ] && [ ! -s "$err" ] || fail "--version"
run --help || fail "--help exited $?"
head -1 "$out" | grep -q '^Usage: gridglyph \[option\] \[picture file\]$' && grep -q -- '--version' "$out" && [ ! -s "$err" ] || fail "--help"
LANG=ja_JP.UTF-8 run -h 2>/dev/null || true
status=0; run --no-such-option || status=$?
[ "$status" = 2 ] && [ ! -s "$out" ] && grep -q "Unknown option 'no-such-option'" "$err" && grep -q '^Usage:' "$err" || fail "an unknown option gave status $status"
status=0; run one.png two.png || status=$?
[ "$status" = 2 ] || fail "two files gave status $status"
echo "--version, --help and wrong options answer without a display"

# A picture with a dot in every corner and one off the diagonals, as the program writes it.
crlf=$(printf '\r')
printf '■□□□□□■\r\n□■□□□□□\r\n□□□■□□□\r\n□□□□□■□\r\n■□□□□□■\r\n' >"$dir/p.txt"
run --png "$dir/p.png" "$dir/p.txt" || fail "--png exited $?"
[ "$(head -c 8 "$dir/p.png" | od -An -c | tr -d ' ')" = "211PNG\r\n032\n" ] || fail "--png wrote no PNG"
# One pixel a dot read back at its own size is the same text, whatever the dither.
for dither in none floyd-steinberg atkinson; do
  run --text --size 7x5 --dither "$dither" "$dir/p.png" || fail "--text --dither $dither exited $?"
  cmp -s "$out" "$dir/p.txt" && [ ! -s "$err" ] || fail "--text --dither $dither gave another picture"
done
# From standard input both ways, LF line ends, inverted, another pair.
run --png - "$dir/p.txt" && cp "$out" "$dir/stdout.png" || fail "--png to standard output"
run --text --size 7x5 --lf --invert --pair '●○' - <"$dir/stdout.png" || fail "--text from standard input exited $?"
[ "$(head -1 "$out")" = "○●●●●●○" ] && [ "$(wc -l <"$out")" = 5 ] && ! grep -q "$crlf" "$out" || fail "--lf --invert --pair"
run --png - - <"$dir/p.txt" && cmp -s "$out" "$dir/stdout.png" || fail "--png from standard input"
# Braille: 2 x 4 dots a character, the picture padded with white to whole characters.
run --text --size 7x5 --braille --lf "$dir/p.png" || fail "--braille exited $?"
[ "$(cat "$out")" = "$(printf '⠑⠠⢀⠁\n⠁⠀⠀⠁')" ] || fail "--braille"
# The nine squares: a colour picture to PNG and back, dot for dot, whatever the dither; no
# presentation selector; X counting two for each square; the palette alone of its options.
printf '🟥🟧🟨\r\n🟩🟦🟪\r\n🟫⬛⬜\r\n' >"$dir/c.txt"
run --png "$dir/c.png" "$dir/c.txt" || fail "--png of colour text exited $?"
for dither in none floyd-steinberg atkinson; do
  run --text --palette emoji --size 3x3 --count --dither "$dither" "$dir/c.png" || fail "--palette emoji --dither $dither exited $?"
  cmp -s "$out" "$dir/c.txt" && grep -q '^X	20/280	fits	largest 11x11$' "$err" || fail "--palette emoji --dither $dither"
done
run --text --palette emoji --size 7x5 "$dir/p.png" && [ "$(head -1 "$out")" = "⬛⬜⬜⬜⬜⬜⬛$crlf" ] || fail "--palette emoji of black and white"
run --text --size 3x3 --lf "$dir/c.png" && [ "$(LC_ALL=C.UTF-8 grep -c '^[■□][■□][■□]$' "$out")" = 3 ] || fail "colour without --palette"
for bad in "--palette rainbow" "--palette emoji --braille" "--palette emoji --pair ●○"; do
  status=0; run --text $bad "$dir/c.png" || status=$?
  [ "$status" = 2 ] && [ ! -s "$out" ] || fail "'$bad' gave status $status"
done
# One side alone: the other from the aspect, rounded, within 1 to 99.
for case in "--width 14:14:10" "--height 1:1:1" "--width 99:99:71" "--height 99:99:99"; do
  option=${case%%:*} rest=${case#*:}
  run --text $option --lf "$dir/p.png" || fail "$option exited $?"
  [ "$(wc -l <"$out")" = "${rest#*:}" ] && [ "$(head -1 "$out" | LC_ALL=C.UTF-8 wc -m)" = "$((${rest%%:*} + 1))" ] || fail "$option gave $(head -1 "$out" | LC_ALL=C.UTF-8 wc -m) x $(wc -l <"$out")"
done
# --count: every service on standard error, the text alone on standard output.
run --text --braille --size 32x32 --count "$dir/p.png" || fail "--count exited $?"
grep -q '^X	263/280	fits	largest 32x32$' "$err" && [ "$(wc -l <"$err")" = 5 ] && grep -q "^LINE	135/10000	does not fit" "$err" && [ "$(wc -l <"$out")" = 8 ] || fail "--count"

# Every limit one under and one over, and the options that do not go together: status 2.
for good in "--size 1x1" "--size 99x99" "--size 99×1" "--width 1" "--threshold 0" "--threshold 255"; do
  run --text $good "$dir/p.png" || fail "$good exited $?"
done
for bad in "--size 0x5" "--size 100x99" "--size 5x100" "--size 5" "--width 0" "--height 100" "--threshold 256" \
           "--threshold -1" "--dither random" "--pair ■" "--pair ■□■" "--pair ■■" "--size 5x5 --width 5" \
           "--width 5 --height 5" "--braille --pair ●○" "--png $dir/x.png" "$dir/p.png"; do
  status=0; run --text $bad "$dir/p.png" || status=$?
  [ "$status" = 2 ] && [ ! -s "$out" ] && grep -q "^Try 'gridglyph --help'" "$err" || fail "'$bad' gave status $status"
done
for alone in "--size 5x5" "--invert" "--count"; do
  status=0; run $alone "$dir/p.png" || status=$?
  [ "$status" = 2 ] || fail "$alone without --text gave status $status"
done
# The language for one run: en or ja, nothing else; --help names the option.
for bad in "--lang de" "--lang EN" "--lang="; do
  status=0; run $bad || status=$?
  [ "$status" = 2 ] && grep -q -- "--lang" "$err" || fail "'$bad' gave status $status"
done
run --lang en --help && grep -q -- "--lang en|ja" "$out" || fail "--help does not name --lang"
status=0; run --png "$dir/x.png" --size 5x5 "$dir/p.txt" || status=$?
[ "$status" = 2 ] || fail "--png with --size gave status $status"

# Pictures and texts that cannot be read, outputs that cannot be written: status 1, a message.
head -c 100 "$dir/p.png" >"$dir/cut.png"
printf '\377\330\377\340' >"$dir/cut.jpg"
printf 'plain words\n' >"$dir/words.txt"
for bad in "--text $dir/none.png" "--text $dir/cut.png" "--text $dir/cut.jpg" "--text $dir" "--text $dir/words.txt" \
           "--png $dir/x.png $dir/words.txt" "--png $dir/x.png $dir/none.txt" "--png $dir $dir/p.txt"; do
  status=0; run $bad || status=$?
  [ "$status" = 1 ] && grep -q '^gridglyph: ' "$err" || fail "'$bad' gave status $status"
done
[ ! -e "$dir/x.png" ] || fail "a refused --png left a file behind"
status=0; head -c $((128 * 1024 * 1024 + 1)) /dev/zero | run --text - || status=$?
[ "$status" = 1 ] && grep -q 'too large' "$err" || fail "129 MiB on standard input gave status $status"
# A reader that goes away early (head, a closed pipe) is no failure.
status=0; env -u DISPLAY -u WAYLAND_DISPLAY "$prog" --text --size 99x99 "$dir/p.png" 2>"$err" | true || status=$?
[ ! -s "$err" ] || fail "a closed pipe: $(cat "$err")"
# Only a file is ever written: a pipe or a device named as the PNG is refused, and stays.
mkfifo "$dir/fifo.png"
status=0; run --png "$dir/fifo.png" "$dir/p.txt" || status=$?
[ "$status" = 1 ] && [ -p "$dir/fifo.png" ] && grep -q 'a device or a pipe' "$err" || fail "--png onto a pipe gave status $status"
# A name that is not UTF-8 is written as the very bytes given, and read back by them.
latin=$(printf 'caf\351')
run --png "$dir/$latin.png" "$dir/p.txt" && [ -f "$dir/$latin.png" ] || fail "--png to a Latin-1 name"
[ "$(ls "$dir" | grep -c '^caf')" = 1 ] || fail "--png wrote another name: $(ls "$dir")"
cp "$dir/p.txt" "$dir/$latin.txt"
run --png - "$dir/$latin.txt" && cmp -s "$out" "$dir/stdout.png" || fail "--png from a Latin-1 name"
# Messages in the user's language: English under C, Japanese under ja_*; sizes in the limit's unit.
chmod 0444 "$dir/p.png" 2>/dev/null
if [ "$(id -u)" != 0 ]; then
  status=0; run --png "$dir/p.png" "$dir/p.txt" || status=$?
  [ "$status" = 1 ] && grep -q 'read-only' "$err" || fail "--png onto a read-only file gave status $status"
fi
head -c 9000000 /dev/zero >"$dir/big.txt"
status=0; run --png - "$dir/big.txt" || status=$?
[ "$status" = 1 ] && grep -q '(8.6 MB; at most 8 MB)' "$err" || fail "a 9,000,000-byte text gave status $status"
status=0; env -u DISPLAY LANG=ja_JP.UTF-8 LC_ALL= "$prog" --png - "$dir/big.txt" >"$out" 2>"$err" || status=$?
[ "$status" = 1 ] && grep -q '8.6 MB。開けるのは 8 MB まで' "$err" || fail "a 9,000,000-byte text in Japanese"
# The window without any display: one line and status 1, not Qt's abort.
status=0; env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM LANG=C.UTF-8 LC_ALL= "$prog" >"$out" 2>"$err" || status=$?
[ "$status" = 1 ] && [ "$(cat "$err")" = "gridglyph: cannot open a display (DISPLAY=)" ] || fail "no display gave status $status"
status=0; env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=wayland LANG=ja_JP.UTF-8 LC_ALL= XDG_RUNTIME_DIR="$dir" "$prog" >"$out" 2>"$err" || status=$?
[ "$status" = 1 ] && grep -q '^gridglyph: 画面に接続できません: DISPLAY=$' "$err" || fail "no Wayland display gave status $status"
echo "--text and --png convert without a display, and refuse what they cannot read"
