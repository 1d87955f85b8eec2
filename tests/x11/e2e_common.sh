# Shared set-up of the end-to-end scripts: arguments, a private work folder, cleanup of the
# processes they start, failure reporting with the event log, and polling.
# Sourced after `set -euo pipefail`; the script sets $log before calling fail.
app_bin="$1"
sim_bin="$2"
artifacts="${3:-}"
work=$(mktemp -d)
xvfb_pid="" sim_pid="" app_pid=""
cleanup() {
  for pid in "$app_pid" "$sim_pid" "$xvfb_pid"; do
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
