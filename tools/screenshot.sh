#!/usr/bin/env bash
# Takes a picture of the running application on a virtual X display.
#
#   tools/screenshot.sh [-b BUILD_DIR] [-w SECONDS] [-s] DISPLAY OUT.png
#
#   DISPLAY     X display to use, e.g. :55. A virtual server (Xvfb,
#               1024x768x24) is started on it unless one already answers there.
#   OUT.png     where the screenshot of the whole screen goes.
#   -b DIR      build folder that holds app/breezeling (default: build).
#   -w SECONDS  how long the application runs before the picture (default 3).
#   -s          also start the stand-in server (tools/breezeling-standin in the
#               build folder) for the run, so the window shows real values.
#   -r          press the main window's refresh button (needs xdotool) and
#               wait for the reply before the picture.
#
# Everything the script started is stopped again when it ends.
set -euo pipefail

usage() { sed -n '2,15p' "$0" | sed 's/^# \{0,1\}//'; exit 2; }

root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build"
wait_seconds=3
with_standin=0
press_refresh=0
while getopts "b:w:srh" opt; do
  case "$opt" in
    b) build="$OPTARG" ;;
    w) wait_seconds="$OPTARG" ;;
    s) with_standin=1 ;;
    r) press_refresh=1 ;;
    *) usage ;;
  esac
done
shift $((OPTIND - 1))
[ $# -eq 2 ] || usage
display="$1"
out="$2"
case "$display" in :[0-9]*) ;; *) echo "display must look like :55" >&2; exit 2 ;; esac
case "$wait_seconds" in ''|*[!0-9.]*) echo "-w takes a number of seconds" >&2; exit 2 ;; esac

app="$build/app/breezeling"
[ -x "$app" ] || { echo "no application at $app (build the target breezeling)" >&2; exit 1; }
command -v import >/dev/null || { echo "imagemagick's import is missing" >&2; exit 1; }

pids=()
cleanup() {
  # Newest first: the application, the stand-in, then the X server.
  local i
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill "${pids[$i]}" 2>/dev/null || true
    wait "${pids[$i]}" 2>/dev/null || true
  done
}
trap cleanup EXIT

display_answers() { DISPLAY="$display" xdpyinfo >/dev/null 2>&1 || [ -S "/tmp/.X11-unix/X${display#:}" ]; }

if ! display_answers; then
  Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  pids+=($!)
  for _ in $(seq 1 50); do
    display_answers && break
    sleep 0.1
  done
  display_answers || { echo "Xvfb did not come up on $display" >&2; exit 1; }
fi

if [ "$with_standin" -eq 1 ]; then
  standin="$build/tools/breezeling-standin"
  [ -x "$standin" ] || { echo "no stand-in at $standin (build breezeling-standin)" >&2; exit 1; }
  "$standin" --quiet &
  pids+=($!)
fi

# A fresh preferences folder, so the picture does not depend on this machine.
config="$(mktemp -d)"
trap 'cleanup; rm -rf "$config"' EXIT
DISPLAY="$display" QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME="$config" "$app" &
pids+=($!)
sleep "$wait_seconds"
kill -0 "${pids[-1]}" 2>/dev/null || { echo "the application ended before the picture" >&2; exit 1; }

if [ "$press_refresh" -eq 1 ]; then
  command -v xdotool >/dev/null || { echo "xdotool is missing (apt-get install xdotool)" >&2; exit 1; }
  window="$(DISPLAY="$display" xdotool search --onlyvisible --name '^Breezeling$' | head -n 1)"
  [ -n "$window" ] || { echo "no main window on $display" >&2; exit 1; }
  # The refresh button's centre: 16, 177 in the content area, which sits
  # below the menu bar (the window's height less the content's 210).
  eval "$(DISPLAY="$display" xdotool getwindowgeometry --shell "$window")"
  DISPLAY="$display" xdotool mousemove --window "$window" 16 $((HEIGHT - 210 + 177)) click 1
  sleep 2
fi

mkdir -p "$(dirname "$out")"
DISPLAY="$display" import -window root "$out"
echo "$out"
