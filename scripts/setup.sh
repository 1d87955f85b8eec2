#!/usr/bin/env bash
# Installs the Debian 12 packages the project needs (only those missing), then configures and
# builds. Sourced by run.sh and test.sh; safe to run again (incremental build, no reinstall).
set -euo pipefail

GLIMMER_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$GLIMMER_ROOT/scripts/session.sh"
GLIMMER_PACKAGES=(
  build-essential cmake ninja-build ccache pkg-config git
  qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  libcurl4-openssl-dev nlohmann-json3-dev libsqlite3-dev libcpp-httplib-dev
  libxcb1-dev libxcb-keysyms1-dev libxcb-shape0-dev libx11-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  fonts-noto-cjk xvfb xdotool x11-utils imagemagick libfaketime trayer locales
  weston xwayland qt6-wayland dbus-daemon
  clang libclang-rt-14-dev
  dpkg-dev file desktop-file-utils appstream
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

# glimmer_build DIR BUILD_TYPE [extra cmake arguments...]: configures when the folder is new or the
# arguments differ from the last configure there, then builds. Changed arguments start the cache
# afresh, so an option dropped from the list does not linger in it.
glimmer_build() {
  local dir="$1" type="$2"
  shift 2
  local wanted stamp
  wanted="-G Ninja -DCMAKE_BUILD_TYPE=$type $*"
  stamp="$dir/.glimmer-configure"
  if [ ! -f "$dir/build.ninja" ] || [ "$(cat "$stamp" 2>/dev/null)" != "$wanted" ]; then
    local fresh=()
    [ -f "$dir/CMakeCache.txt" ] && fresh=(--fresh)
    cmake "${fresh[@]}" -S "$GLIMMER_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$type" "$@"
    printf '%s\n' "$wanted" > "$stamp"
  fi
  cmake --build "$dir" --parallel "$(nproc)"
}

glimmer_display_reachable() {
  [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1
}
