#!/usr/bin/env bash
# Installs what is missing, builds Release and starts Glimmerbox. Without a reachable display the
# program runs on a virtual X display and a screenshot of it is refreshed in artifacts/screen.png.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
glimmer_install_packages
glimmer_build "$GLIMMER_ROOT/build/release" Release

cleanup() {
  [ -n "${GLIMMER_SHOT_PID:-}" ] && kill "$GLIMMER_SHOT_PID" 2>/dev/null || true
  [ -n "${GLIMMER_XVFB_PID:-}" ] && kill "$GLIMMER_XVFB_PID" 2>/dev/null || true
}
trap cleanup EXIT

if ! glimmer_display_reachable; then
  glimmer_start_xvfb
  mkdir -p "$GLIMMER_ROOT/artifacts"
  shot="$GLIMMER_ROOT/artifacts/screen.png"
  echo "No display reachable: running on virtual display $DISPLAY."
  echo "A screenshot of that display is written to $shot every 3 seconds while the program runs."
  ( while true; do import -window root "$shot.tmp.png" 2>/dev/null && mv -f "$shot.tmp.png" "$shot"; sleep 3; done ) &
  GLIMMER_SHOT_PID=$!
fi

"$GLIMMER_ROOT/build/release/glimmerbox" "$@"
