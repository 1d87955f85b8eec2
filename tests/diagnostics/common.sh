# Shared set-up of the diagnostic-mode tests: a private home, data folder and working directory,
# an optional simulated market, and checks on the program's output and the PNG files it writes.
set -euo pipefail

glimmerbox="$1"
simmarket="${2:-}"

work=$(mktemp -d)
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/session.sh"
GLIMMER_SIM_PID=""
cleanup() {
    stop_market
    rm -rf "$work"
}
trap cleanup EXIT
glimmer_private_home "$work"
mkdir -p "$work/cwd"
# Every switch the program reads starts off, whatever the calling shell holds.
for name in SELFTEST RENDER RENDER_SETTINGS FOLLOW_TEST OVERVIEW_TEST RENDER_OVERVIEW RENDER_EXPAND \
    ALERT_TEST REFRESH_TEST ROTATE_TEST LAYOUT_TEST DOCK_TEST FORCE_THEME RENDER_OPACITY ENDPOINTS \
    FORCE_QQ_INTRADAY FORCE_QQ_FLOW FORCE_SINA_K REFRESH_TRACE; do
    unset "GLIMMERBOX_$name"
done

fail() {
    echo "FAILED: $*" >&2
    [ -f "$work/out.txt" ] && { echo "--- output ---" >&2; cat "$work/out.txt" >&2; }
    exit 1
}

# Starts the simulated market at a fixed exchange time; extra arguments are passed on (faults).
start_market() {
    [ -n "$simmarket" ] || fail "no simulated market given"
    glimmer_start_market "$simmarket" "$work" --time "2024-11-08 10:30" "$@" || fail "simulated market did not start"
}

stop_market() {
    if [ -n "$GLIMMER_SIM_PID" ]; then
        kill "$GLIMMER_SIM_PID" 2>/dev/null || true
        wait "$GLIMMER_SIM_PID" 2>/dev/null || true
    fi
    GLIMMER_SIM_PID=""
}

# Writes a configuration file before the program first loads it.
write_config() {
    printf '%s\n' "$1" > "$GLIMMER_APP_DIR/config.json"
}

# Runs the program with the given VAR=value settings in the private working directory; the status
# must be 0 and the output lands in $work/out.txt.
run_mode() {
    local status=0
    (cd "$work/cwd" && env "$@" timeout 90 "$glimmerbox") > "$work/out.txt" 2> "$work/err.txt" || status=$?
    [ "$status" -eq 0 ] || fail "exit status $status for $*; stderr: $(cat "$work/err.txt")"
}

expect_line() {
    grep -qxF -- "$1" "$work/out.txt" || fail "missing line: $1"
}

expect_match() {
    grep -qE -- "$1" "$work/out.txt" || fail "no line matches: $1"
}

expect_no_match() {
    if grep -qE -- "$1" "$work/out.txt"; then fail "unexpected line matching: $1"; fi
}

expect_count() {
    local count
    count=$(grep -cE -- "$1" "$work/out.txt" || true)
    [ "$count" -eq "$2" ] || fail "expected $2 lines matching '$1', found $count"
}

# expect_png NAME WIDTHxHEIGHT: the file exists in artifacts/, is a PNG of that size, and the
# program announced it.
expect_png() {
    local file="$work/cwd/artifacts/$1"
    [ -f "$file" ] || fail "missing $1"
    local size
    size=$(identify -format '%m %wx%h' "$file") || fail "unreadable $1"
    [ "$size" = "PNG $2" ] || fail "$1 is '$size', expected PNG $2"
    expect_line "已输出 $1 $2"
}

# Mean brightness (0..1) of a region WxH+X+Y of a PNG in artifacts/.
brightness() {
    convert "$work/cwd/artifacts/$1" -crop "$2" +repage -alpha off -colorspace Gray -format '%[fx:mean]' info:
}

# POSTs a JSON body to the simulated market's control endpoint.
sim_post() {
    glimmer_sim_request POST "$1" "$2" > /dev/null || fail "control $1"
}
