#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Latency benchmark, run by hand: the time from a click on the stock to the new waste
# card reaching the screen. It deals, then clicks the stock 20 times, 0.3 s apart, and
# for each click times the X server's report of changed pixels on the waste spot
# (marigold-clickbench: XTEST for the click, DAMAGE for the repaint). Exits 0 when the
# median is under the limit.
#
#   bash benchmarks/run-stock-click.sh [--runs N]
#
# BENCH_BUILD_DIR picks the build tree (default /tmp/marigold-bench-build).
set -euo pipefail

# shellcheck source=benchmarks/xserver.sh
source "$(dirname "${BASH_SOURCE[0]}")/xserver.sh"
runs=20
limit_ms=50
[[ ${1:-} == --runs ]] && runs=$2

need_tools run-stock-click Xvfb xdotool cmake
configure_build
if ! grep -q '^XCB_CLICK_FOUND:INTERNAL=1' "$build_dir/CMakeCache.txt"; then
    echo "run-stock-click: the harness needs libxcb1-dev, libxcb-damage0-dev and libxcb-xtest0-dev" >&2
    exit 2
fi
cmake --build "$build_dir" -j2 --target marigold marigold-clickbench >/dev/null

die() {
    echo "run-stock-click: $*" >&2
    exit 2
}

start_xserver run-stock-click
start_game run-stock-click
sleep 0.5

# The table's own coordinates: Deal at 128,288 (73 x 33), the stock at 208,352 and the
# waste at 288,352, both 75 x 100. With no window manager the table sits at 0,0.
xdotool mousemove --sync $((128 + 36)) $((288 + 16)) click 1
sleep 0.5

read -r median fastest slowest < <("$build_dir/benchmarks/marigold-clickbench" --window "$window" \
    --click $((208 + 37)),$((352 + 50)) --watch 288,352,75,100 --runs "$runs" --gap-ms 300 \
    2>"$scratch/runs.log") || { cat "$scratch/runs.log" >&2; die "the harness failed"; }
[[ -n ${BENCH_VERBOSE:-} ]] && cat "$scratch/runs.log" >&2

awk -v m="$median" -v lo="$fastest" -v hi="$slowest" -v n="$runs" -v limit="$limit_ms" '
BEGIN {
    printf "Stock click to waste repaint, %d clicks\n", n
    printf "%-10s %8.2f ms\n%-10s %8.2f ms\n%-10s %8.2f ms\n", "median", m, "fastest", lo, "slowest", hi
    printf "%s (median under %d ms)\n", (m < limit ? "PASS" : "FAIL"), limit
    exit (m < limit ? 0 : 1)
}'
