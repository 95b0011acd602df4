# Sourced by every script that needs a private X server (the screen tests, scripts/run,
# scripts/check-bare). Bash only.
#
# start_xvfb [WxHxDEPTH] starts one and sets DISPLAY. The server picks a free display
# itself (-displayfd): choosing one by looking for lock files in /tmp races with other
# servers starting at the same moment, and cannot see those of another container or
# chroot that shares this machine's network. It does not reset when a client leaves
# (-noreset): a short-lived client such as xdotool leaving while the program is still
# connecting would otherwise take the program's half-open connection down with the reset.
# Returns 77 when there is no Xvfb, 1 (after saying why) when it cannot start.
start_xvfb() {
  command -v Xvfb >/dev/null || { echo "Xvfb is not installed" >&2; return 77; }
  command -v xdpyinfo >/dev/null || { echo "xdpyinfo is not installed" >&2; return 77; }
  local geometry=${1:-1400x1100x24} fifo n
  xvfb_log=$(mktemp)
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 "$geometry" 3>"$fifo" >"$xvfb_log" 2>&1 &
  xvfb_pid=$!
  if ! read -r -t 20 n <"$fifo" || [ -z "$n" ]; then
    rm -f "$fifo"
    echo "Xvfb could not start a server:" >&2
    tail -n 20 "$xvfb_log" >&2
    stop_xvfb
    return 1
  fi
  rm -f "$fifo"
  export DISPLAY=:$n
  local _
  for _ in $(seq 100); do
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "Xvfb on $DISPLAY does not answer:" >&2
  tail -n 20 "$xvfb_log" >&2
  stop_xvfb
  return 1
}

stop_xvfb() {
  if [ -n "${xvfb_pid:-}" ]; then
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  fi
  xvfb_pid=
  [ -n "${xvfb_log:-}" ] && rm -f "$xvfb_log"
  xvfb_log=
  return 0
}

# window_of PID TITLE: prints the id of a visible window that process PID shows under TITLE
# (a regular expression, matched by bash: xdotool's own --name matching takes a title in
# Japanese for any other).
window_of() {
  local id
  for id in $(xdotool search --all --onlyvisible --pid "$1" --name . 2>/dev/null); do
    [[ "$(xdotool getwindowname "$id" 2>/dev/null)" =~ $2 ]] && { echo "$id"; return 0; }
  done
  return 1
}

# wait_for_window PID TITLE [SECONDS]: prints the id of the visible window that process PID
# shows under TITLE (as window_of), once it is mapped. Fails when the process ends first or
# the window does not come, so that nothing clicks on a screen the program never reached.
wait_for_window() {
  local pid=$1 title=$2 tries=$(( ${3:-60} * 10 ))
  while [ "$tries" -gt 0 ]; do
    kill -0 "$pid" 2>/dev/null || { echo "the program (pid $pid) ended before showing \"$title\"" >&2; return 1; }
    window_of "$pid" "$title" && return 0
    sleep 0.1
    tries=$(( tries - 1 ))
  done
  echo "no window \"$title\" of pid $pid appeared on $DISPLAY" >&2
  return 1
}

# poll SECONDS COMMAND...: runs COMMAND every tenth of a second until it succeeds, for at most
# SECONDS. The screen checks wait for what they expect to see this way, never for a fixed
# time: on a busy machine the program may take long to get there, and a check that looked
# too early would fail by chance.
poll() {
  local tries=$(( $1 * 10 ))
  shift
  while [ "$tries" -gt 0 ]; do
    "$@" && return 0
    sleep 0.1
    tries=$(( tries - 1 ))
  done
  return 1
}
