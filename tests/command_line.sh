#!/bin/sh
# Usage: command_line.sh PROGRAM. The answers to --version, --help and a wrong option, with
# no display at all: the exact text, the exit status, the stream.
set -eu
prog=$1
out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
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
