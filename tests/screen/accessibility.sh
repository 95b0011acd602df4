#!/usr/bin/env bash
# The main window as a screen reader sees it: with an AT-SPI bus (at-spi2-core) on a private
# D-Bus session, the program's accessibility tree read with pyatspi lists every control
# with its Japanese name, and the canvas its size and cursor.
# Exit 77 (skipped) where there is no X server, D-Bus, AT-SPI or pyatspi.
set -euo pipefail
prog=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
launcher=/usr/libexec/at-spi-bus-launcher
command -v dbus-run-session >/dev/null || { echo "skipped: dbus-run-session is not installed"; exit 77; }
[ -x "$launcher" ] || { echo "skipped: at-spi2-core is not installed"; exit 77; }
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "skipped: python3-pyatspi is not installed"; exit 77; }
. "$here/../../scripts/lib/xvfb.sh"
work=$(mktemp -d)
trap 'stop_xvfb; rm -rf "$work"' EXIT
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_RUNTIME_DIR=$work/run LANG=C.UTF-8
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"; chmod 700 "$XDG_RUNTIME_DIR"
start_xvfb || { rc=$?; [ $rc = 77 ] && echo "skipped: no X server can be started here"; exit $rc; }
export PROG=$prog HERE=$here LAUNCHER=$launcher
dbus-run-session -- bash -c '
  set -euo pipefail
  . "$HERE/../../scripts/lib/xvfb.sh"
  "$LAUNCHER" --launch-immediately >/dev/null 2>&1 & bus=$!
  QT_QPA_PLATFORM=xcb QT_ACCESSIBILITY=1 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$PROG" 2>"$HOME/program.log" & ppid=$!
  trap "kill $ppid $bus 2>/dev/null || true" EXIT
  wait_for_window $ppid "^GRIDGLYPH Ver\. 1\.10$" >/dev/null || { echo "the program showed no window"; exit 1; }
  /usr/bin/python3 "$HERE/accessibility_tree.py"
'
