# Sourced by the Wayland screen check: a private headless sway (wlroots' headless backend,
# drawn by pixman, no GPU), with a virtual keyboard held for the session, so that the seat
# has a keyboard from the start (without one, the keys wtype sends to a window that opened
# before it come without the window being active, and shortcuts do not fire). Bash only.
#
# start_sway sets XDG_RUNTIME_DIR, WAYLAND_DISPLAY and SWAYSOCK. sway refuses to run as
# root; as root it runs as nobody, in a runtime folder of nobody's, which root's clients can
# still reach. Returns 77 when sway or wtype is not installed, 1 (after saying why) when it
# cannot start.
start_sway() {
  command -v sway >/dev/null || { echo "sway is not installed" >&2; return 77; }
  command -v wtype >/dev/null || { echo "wtype is not installed" >&2; return 77; }
  sway_dir=$(mktemp -d)
  export XDG_RUNTIME_DIR=$sway_dir/run
  mkdir -m 700 "$XDG_RUNTIME_DIR"
  printf 'output HEADLESS-1 resolution 1280x1024\n' >"$sway_dir/config"
  local as=()
  if [ "$(id -u)" = 0 ]; then
    command -v setpriv >/dev/null || { echo "setpriv is not installed" >&2; return 77; }
    chown -R 65534:65534 "$sway_dir"
    as=(setpriv --reuid=65534 --regid=65534 --clear-groups)
  fi
  env -u WAYLAND_DISPLAY -u DISPLAY HOME="$sway_dir" WLR_BACKENDS=headless WLR_RENDERER=pixman \
    WLR_LIBINPUT_NO_DEVICES=1 "${as[@]}" sway -c "$sway_dir/config" >"$sway_dir/sway.log" 2>&1 &
  sway_pid=$!
  local _ socket
  for _ in $(seq 100); do
    socket=$(ls "$XDG_RUNTIME_DIR"/wayland-* 2>/dev/null | grep -v '\.lock$' | head -1)
    [ -n "$socket" ] && ls "$XDG_RUNTIME_DIR"/sway-ipc.* >/dev/null 2>&1 && break
    kill -0 $sway_pid 2>/dev/null || break
    sleep 0.1
  done
  if [ -z "${socket:-}" ]; then
    echo "sway could not start:" >&2
    tail -n 20 "$sway_dir/sway.log" >&2
    stop_sway
    return 1
  fi
  export WAYLAND_DISPLAY=$(basename "$socket")
  export SWAYSOCK=$(ls "$XDG_RUNTIME_DIR"/sway-ipc.* | head -1)
  wtype -s 86400000 & keyboard_pid=$!
  return 0
}

stop_sway() {
  [ -n "${keyboard_pid:-}" ] && kill "$keyboard_pid" 2>/dev/null
  if [ -n "${sway_pid:-}" ]; then
    kill "$sway_pid" 2>/dev/null
    wait "$sway_pid" 2>/dev/null
  fi
  keyboard_pid= sway_pid=
  [ -n "${sway_dir:-}" ] && rm -rf "$sway_dir"
  sway_dir=
  return 0
}
