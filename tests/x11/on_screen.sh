#!/usr/bin/env bash
# Runs a command on a private Xvfb display of the given size and returns its status.
# Usage: on_screen.sh WIDTHxHEIGHT command [arguments...]
# The server picks a free display number itself, so several of these can run side by side.
set -euo pipefail
size="$1"
shift

ready=$(mktemp)
xvfb_pid=""
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -f "$ready"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$ready" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 1 100); do
  [ -s "$ready" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || { echo "Xvfb did not start" >&2; exit 1; }
  sleep 0.1
done
[ -s "$ready" ] || { echo "Xvfb did not report its display" >&2; exit 1; }
export DISPLAY=":$(head -1 "$ready")"
echo "screen $size on $DISPLAY"

status=0
"$@" || status=$?
exit "$status"
