#!/usr/bin/env bash
# Installs the Debian 12 packages the project needs (only those missing), then configures and
# builds. Sourced by run.sh and test.sh; safe to run again (incremental build, no reinstall).
set -euo pipefail

GLIMMER_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
GLIMMER_PACKAGES=(
  build-essential cmake ninja-build ccache pkg-config git
  qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  libcurl4-openssl-dev nlohmann-json3-dev libsqlite3-dev libcpp-httplib-dev
  libxcb1-dev libxcb-keysyms1-dev libx11-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  fonts-noto-cjk xvfb xdotool x11-utils imagemagick libfaketime trayer locales
  clang libclang-rt-14-dev
)

glimmer_install_packages() {
  local missing=()
  for pkg in "${GLIMMER_PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$pkg")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  echo "Installing: ${missing[*]}"
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -q
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# glimmer_build DIR BUILD_TYPE [extra cmake arguments...]
glimmer_build() {
  local dir="$1" type="$2"
  shift 2
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$GLIMMER_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$type" "$@"
  fi
  cmake --build "$dir" --parallel "$(nproc)"
}

# Starts Xvfb on a free display number and exports DISPLAY; the server ends with the calling shell.
glimmer_start_xvfb() {
  local n
  for n in $(seq 91 140); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
      Xvfb ":$n" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
      GLIMMER_XVFB_PID=$!
      for _ in $(seq 1 50); do
        if xdpyinfo -display ":$n" >/dev/null 2>&1; then
          export DISPLAY=":$n"
          return 0
        fi
        sleep 0.1
      done
      kill "$GLIMMER_XVFB_PID" 2>/dev/null || true
    fi
  done
  echo "could not start Xvfb" >&2
  return 1
}

glimmer_display_reachable() {
  [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1
}
