# Installs the Debian packages a command needs when they are missing.
# Sourced by run.sh, test.sh and CI.

# The last line is for the tests that run on a private X server (keys, menus,
# focus, window states): the server, a window manager, real input, xprop.
BUILD_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-svg-dev libgl-dev
                libgtest-dev libgmock-dev fonts-dejavu-core libbenchmark-dev libxcb-damage0-dev
                xvfb openbox xdotool x11-utils)
RUN_PACKAGES=()
# What CI checks the sources' format with.
STYLE_PACKAGES=(clang-format)
SHOT_PACKAGES=(xvfb xauth imagemagick)
# What bench/run needs besides the build: a virtual display for the start
# benchmark, curl as the download yardstick, and python3 to drive them.
BENCH_PACKAGES=(xvfb curl time python3 imagemagick)

ensure_packages() {
  local missing=()
  local pkg
  for pkg in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$pkg")
    fi
  done
  if [ ${#missing[@]} -eq 0 ]; then
    return 0
  fi
  echo "Installing missing packages: ${missing[*]}"
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null 2>&1; then
      echo "error: need root or sudo to install: ${missing[*]}" >&2
      return 1
    fi
    sudo=(sudo)
  fi
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# configure_and_build <build-dir> [cmake options...] [-- targets...]
configure_and_build() {
  local dir="$1"
  shift
  local options=() targets=()
  while [ $# -gt 0 ] && [ "$1" != "--" ]; do options+=("$1"); shift; done
  [ $# -gt 0 ] && shift
  targets=("$@")
  cmake -S . -B "$dir" -G Ninja "${options[@]}" >/dev/null
  if [ ${#targets[@]} -gt 0 ]; then
    cmake --build "$dir" -j "$(nproc)" --target "${targets[@]}"
  else
    cmake --build "$dir" -j "$(nproc)"
  fi
}
