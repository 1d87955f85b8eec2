# Shared set-up of the end-to-end scripts: arguments, a private work folder, cleanup of the
# processes they start, failure reporting with the event log, and polling.
# Sourced after `set -euo pipefail`; the script sets $log before calling fail.
app_bin="$1"
sim_bin="$2"
artifacts="${3:-}"
work=$(mktemp -d)
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/session.sh"
GLIMMER_XVFB_PID="" GLIMMER_SIM_PID="" app_pid=""
cleanup() {
  for pid in "$app_pid" "$GLIMMER_SIM_PID" "$GLIMMER_XVFB_PID"; do
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  done
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; echo "--- events.log"; cat "$log" 2>/dev/null || true; exit 1; }

# wait_for <seconds> <command...>: polls every 0.1 s.
wait_for() {
  local limit=$(( $1 * 10 )); shift
  for _ in $(seq 1 "$limit"); do "$@" && return 0; sleep 0.1; done
  return 1
}

# start_display <WxH>: a private Xvfb of that size for the program; sets $display.
start_display() {
  glimmer_start_xvfb "$1"
  display="$DISPLAY"
  export QT_QPA_PLATFORM=xcb
}

# use_private_home: HOME, the XDG folders and the runtime folder inside $work; sets $dir (the
# program's folder) and $log (its event log).
use_private_home() {
  glimmer_private_home "$work"
  dir="$GLIMMER_APP_DIR"
  log="$dir/events.log"
}

# start_market [OPTION...]: the simulated market at 10:30 on a weekday morning (so the day has
# minutes to draw) with the given extra options; $control is its control address (host:port).
start_market() {
  glimmer_start_market "$sim_bin" "$work" --time "2024-11-08 10:30" "$@" || exit 1
  control="$GLIMMER_SIM_CONTROL"
}
