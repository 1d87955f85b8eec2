#!/usr/bin/env bash
# Runs a command on a private Xvfb display of the given size and returns its status.
# Usage: on_screen.sh WIDTHxHEIGHT command [arguments...]
# The server picks a free display number itself, so several of these can run side by side.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/session.sh"
size="$1"
shift

GLIMMER_XVFB_PID=""
trap '[ -n "$GLIMMER_XVFB_PID" ] && kill "$GLIMMER_XVFB_PID" 2>/dev/null || true' EXIT
glimmer_start_xvfb "$size"
echo "screen $size on $DISPLAY"

status=0
"$@" || status=$?
exit "$status"
