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

# start_display <first number> <WxH>: a private Xvfb of that size on the first free display number
# from <first> on; sets $display and exports DISPLAY.
start_display() {
  local n
  display=""
  for n in $(seq "$1" $(( $1 + 49 ))); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
  done
  [ -n "$display" ] || { echo "no free display number"; exit 1; }
  Xvfb "$display" -screen 0 "${2}x24" -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  wait_for 10 xdpyinfo -display "$display" >/dev/null 2>&1 || { echo "Xvfb did not start"; exit 1; }
  export DISPLAY="$display" QT_QPA_PLATFORM=xcb
}

# use_private_home: HOME, the XDG folders and the runtime folder inside $work; sets $dir (the
# program's folder) and $log (its event log).
use_private_home() {
  export HOME="$work/home" XDG_DATA_HOME="$work/home/data" XDG_CONFIG_HOME="$work/home/config"
  export XDG_RUNTIME_DIR="$work/runtime"
  mkdir -p "$XDG_DATA_HOME/Glimmerbox" "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
  dir="$XDG_DATA_HOME/Glimmerbox"
  log="$dir/events.log"
}
