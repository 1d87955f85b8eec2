# Set-up shared by everything that runs the real program outside the unit tests (run.sh, test.sh,
# bench_app.sh, the end-to-end and diagnostic tests): a private X display, private folders, the
# simulated market and the demo watch list. Sourced by bash; defines functions only. Callers end
# what they start: the process ids are in GLIMMER_XVFB_PID and GLIMMER_SIM_PID.

# glimmer_start_xvfb [WIDTHxHEIGHT]: a private Xvfb of that size (default 1920x1080) on a display
# number the server picks itself, so several can run side by side; exports DISPLAY.
glimmer_start_xvfb() {
  local size="${1:-1920x1080}" ready
  ready=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$ready" >/dev/null 2>&1 &
  GLIMMER_XVFB_PID=$!
  for _ in $(seq 1 100); do
    [ -s "$ready" ] && break
    kill -0 "$GLIMMER_XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  if [ ! -s "$ready" ]; then
    rm -f "$ready"
    echo "Xvfb did not start" >&2
    return 1
  fi
  export DISPLAY=":$(head -1 "$ready")"
  rm -f "$ready"
}

# glimmer_app_folders DIR: the program's data and configuration folders (XDG_DATA_HOME,
# XDG_CONFIG_HOME) inside DIR; GLIMMER_APP_DIR is where its config.json and events.log go.
glimmer_app_folders() {
  export XDG_DATA_HOME="$1/data" XDG_CONFIG_HOME="$1/config"
  GLIMMER_APP_DIR="$XDG_DATA_HOME/Glimmerbox"
  mkdir -p "$GLIMMER_APP_DIR" "$XDG_CONFIG_HOME"
}

# glimmer_private_home WORK: HOME, the runtime folder and the program's folders inside WORK, for a
# run on a private display that must touch neither the real home nor the user's session. The session
# bus is the runtime folder's, where none runs, so no notification or portal call reaches the desktop.
glimmer_private_home() {
  export HOME="$1/home" XDG_RUNTIME_DIR="$1/runtime" DBUS_SESSION_BUS_ADDRESS="unix:path=$1/runtime/bus"
  glimmer_app_folders "$HOME"
  mkdir -p "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
}

# glimmer_start_market SIMMARKET FOLDER [OPTION...]: the simulated market with those options, its
# endpoints file and output (sim.txt) in FOLDER. Waits for it, exports GLIMMERBOX_ENDPOINTS and
# sets GLIMMER_SIM_CONTROL to its control address (host:port); fails with its output otherwise.
glimmer_start_market() {
  local program="$1" folder="$2"
  shift 2
  rm -f "$folder/endpoints.json"
  "$program" "$@" --endpoints-file "$folder/endpoints.json" > "$folder/sim.txt" 2>&1 &
  GLIMMER_SIM_PID=$!
  for _ in $(seq 1 100); do
    [ -s "$folder/endpoints.json" ] && grep -q '^control ' "$folder/sim.txt" && break
    sleep 0.1
  done
  GLIMMER_SIM_CONTROL=$(sed -n 's#^control http://\([^/]*\)/.*#\1#p' "$folder/sim.txt")
  if [ -z "$GLIMMER_SIM_CONTROL" ] || [ ! -s "$folder/endpoints.json" ]; then
    cat "$folder/sim.txt" >&2
    echo "simulated market did not start" >&2
    return 1
  fi
  export GLIMMERBOX_ENDPOINTS="$folder/endpoints.json"
}

# glimmer_sim_request METHOD PATH [JSON BODY]: one request to the simulated market's control
# address through bash's /dev/tcp; prints the reply body, fails unless the status is 200.
glimmer_sim_request() {
  local body="${3:-}" reply
  exec 3<>"/dev/tcp/${GLIMMER_SIM_CONTROL%:*}/${GLIMMER_SIM_CONTROL##*:}" || return 1
  printf '%s %s HTTP/1.1\r\nHost: %s\r\nContent-Type: application/json\r\nContent-Length: %d\r\nConnection: close\r\n\r\n%s' \
    "$1" "$2" "$GLIMMER_SIM_CONTROL" "${#body}" "$body" >&3
  reply=$(cat <&3)
  exec 3>&-
  printf '%s\n' "${reply#*$'\r\n\r\n'}"
  [[ "$reply" == "HTTP/1.1 200"* ]]
}

# glimmer_demo_config FILE [MEMBER...]: the demo's ten securities with start at login off; each
# MEMBER (a JSON '"key": value') is added at the top level.
glimmer_demo_config() {
  local file="$1" member extra=""
  shift
  for member in "$@"; do extra+=$',\n  '"$member"; done
  cat > "$file" <<JSON
{
  "watchlist": [
    {"code": "600519", "name": "", "kind": "stock"}, {"code": "300750", "name": "", "kind": "stock"},
    {"code": "510300", "name": "", "kind": "etf"}, {"code": "601318", "name": "", "kind": "stock"},
    {"code": "000858", "name": "", "kind": "stock"}, {"code": "600036", "name": "", "kind": "stock"},
    {"code": "002594", "name": "", "kind": "stock"}, {"code": "159915", "name": "", "kind": "etf"},
    {"code": "000333", "name": "", "kind": "stock"}, {"code": "601012", "name": "", "kind": "stock"}
  ],
  "didImportHoldings": true,
  "autoLaunch": false${extra}
}
JSON
}
