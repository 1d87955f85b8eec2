#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: unit and offscreen UI tests, then the
# tests that need an X display on a private Xvfb. Exits non-zero on any failure.
#   --sanitize   build and run everything under AddressSanitizer + UndefinedBehaviorSanitizer
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

build_dir="$GLIMMER_ROOT/build/release"
build_type=Release
extra=()
for arg in "$@"; do
  case "$arg" in
    --sanitize)
      build_dir="$GLIMMER_ROOT/build/sanitize"; build_type=Debug; extra+=(-DGLIMMER_SANITIZE=ON)
      # Leaks inside system libraries (D-Bus, fontconfig) are not ours to fix.
      export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$GLIMMER_ROOT/scripts/lsan.supp:print_suppressions=0}" ;;
    *) echo "unknown option: $arg" >&2; exit 2 ;;
  esac
done

glimmer_install_packages
glimmer_build "$build_dir" "$build_type" "${extra[@]}"

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

status=0
# Twice the cores: most of the run is the program scripts waiting on timers and the simulated market.
( cd "$build_dir" && ctest --output-on-failure --parallel "$(( 2 * $(nproc) ))" -LE x11 ) || status=1

trap '[ -n "${GLIMMER_XVFB_PID:-}" ] && kill "$GLIMMER_XVFB_PID" 2>/dev/null || true' EXIT
glimmer_start_xvfb
# Each window test but the hot-key grabs brings its own Xvfb, so they too run side by side.
( cd "$build_dir" && ctest --output-on-failure --parallel "$(nproc)" -L x11 ) || status=1

if [ $status -ne 0 ]; then
  echo "TESTS FAILED"
else
  echo "ALL TESTS PASSED"
fi
exit $status
