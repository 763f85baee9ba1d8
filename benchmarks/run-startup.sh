#!/usr/bin/env bash
# Start-up benchmark, run by hand: builds the game, a bare Qt window of the same size and
# the harness (Release), then times both from exec to first map under an X server of its
# own and compares their peak memory. Exits 0 when the game is within the limit on both.
#
#   bash benchmarks/run-startup.sh [--runs N] [--warmup N] [--limit R] [--verbose]
#
# BENCH_BUILD_DIR picks the build tree (default /tmp/marigold-bench-build).
set -euo pipefail

source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${BENCH_BUILD_DIR:-/tmp/marigold-bench-build}

for tool in Xvfb cmake; do
    command -v "$tool" >/dev/null || { echo "run-startup: $tool is needed" >&2; exit 2; }
done

cmake -S "$source_dir" -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
if ! grep -q '^XCB_FOUND:INTERNAL=1' "$build_dir/CMakeCache.txt"; then
    echo "run-startup: the harness needs the xcb headers (Debian: libxcb1-dev)" >&2
    exit 2
fi
cmake --build "$build_dir" -j2 --target marigold marigold-barewindow marigold-startupbench >/dev/null

xvfb_pid=
harness_pid=
scratch=$(mktemp -d)
# shellcheck disable=SC2317 # run by the EXIT trap
cleanup() {
    # The harness takes its running program down with it.
    if [[ -n $harness_pid ]]; then
        kill "$harness_pid" 2>/dev/null || true
        wait "$harness_pid" 2>/dev/null || true
    fi
    if [[ -n $xvfb_pid ]]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    rm -rf "$scratch"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Xvfb picks a free display itself and tells us which; no window manager runs on it,
# so a top-level window is mapped straight onto the root.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$scratch/display" 2>"$scratch/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
    [[ -s $scratch/display ]] && break
    sleep 0.05
done
[[ -s $scratch/display ]] || { echo "run-startup: Xvfb did not start" >&2; cat "$scratch/xvfb.log" >&2; exit 2; }
DISPLAY=":$(<"$scratch/display")"
export DISPLAY

mkdir -m 700 "$scratch/runtime"
export XDG_RUNTIME_DIR="$scratch/runtime"
export QT_QPA_PLATFORM=xcb

# Waited for in the background so that a stop request is acted on at once, not after
# the last run.
"$build_dir/benchmarks/marigold-startupbench" \
    --game "$build_dir/marigold" \
    --bare "$build_dir/benchmarks/marigold-barewindow" "$@" &
harness_pid=$!
status=0
wait "$harness_pid" || status=$?
harness_pid=
exit "$status"
