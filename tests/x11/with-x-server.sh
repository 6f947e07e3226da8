#!/usr/bin/env bash
# Runs a command on a private virtual X server with a window manager, the
# way a desktop user's session delivers keys, focus and window states:
#
#   tests/x11/with-x-server.sh COMMAND [ARGS...]
#
# The server takes the first free display number (so that several runs on
# one machine never meet), the command gets DISPLAY and QT_QPA_PLATFORM=xcb,
# and the server and window manager are stopped again when it ends. The
# exit status is the command's.
set -uo pipefail

if [ $# -eq 0 ]; then
  echo "usage: $0 COMMAND [ARGS...]" >&2
  exit 2
fi
for tool in Xvfb openbox xprop xdotool; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "error: $tool is missing (scripts/deps.sh installs it)" >&2
    exit 1
  fi
done

work="$(mktemp -d)"
pids=()
cleanup() {
  local i
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill "${pids[$i]}" 2>/dev/null
    wait "${pids[$i]}" 2>/dev/null
  done
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Waits up to $1 tenths of a second for the command after it to succeed.
wait_for() {
  local tenths="$1"
  shift
  local i
  for ((i = 0; i < tenths; i++)); do
    "$@" && return 0
    sleep 0.1
  done
  "$@"
}

# The server writes its display number to fd 3 once it accepts clients.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" \
  >"$work/xvfb.log" 2>&1 &
pids+=($!)
if ! wait_for 100 test -s "$work/display"; then
  echo "error: the virtual X server did not start:" >&2
  cat "$work/xvfb.log" >&2
  exit 1
fi
export DISPLAY=":$(head -n 1 "$work/display")"

openbox --sm-disable >"$work/wm.log" 2>&1 &
pids+=($!)
wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
if ! wait_for 100 wm_ready; then
  echo "error: the window manager did not start on $DISPLAY:" >&2
  cat "$work/wm.log" >&2
  exit 1
fi

QT_QPA_PLATFORM=xcb "$@"
