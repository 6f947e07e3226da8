#!/usr/bin/env bash
# Builds Breezeling, starts the stand-in weather proxy on the loopback
# address and runs the application; the stand-in stops when it quits.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
ensure_packages "${BUILD_PACKAGES[@]}" "${RUN_PACKAGES[@]}"
configure_and_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo -- breezeling breezeling-standin

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  cat >&2 <<'MSG'
Breezeling is a desktop application and there is no display here.
To run it without one, start a virtual display first:
  sudo apt-get install xvfb     # if it is missing
  Xvfb :99 -screen 0 1024x768x24 &
  DISPLAY=:99 ./run.sh
MSG
  exit 1
fi

./build/tools/breezeling-standin --quiet &
standin=$!
trap 'kill "$standin" 2>/dev/null; wait "$standin" 2>/dev/null || true' EXIT
# Give the stand-in a moment to listen before the first update check.
for _ in $(seq 50); do
  if (exec 3<>/dev/tcp/127.0.0.1/48213) 2>/dev/null; then break; fi
  sleep 0.1
done
./build/app/breezeling
