#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up benchmark, run by hand: builds the game, a bare Qt window of the same size and
# the harness (Release), then times both from exec to first map under an X server of its
# own and compares their peak memory. Exits 0 when the game is within the limit on both.
#
#   bash benchmarks/run-startup.sh [--runs N] [--warmup N] [--limit R] [--verbose]
#
# BENCH_BUILD_DIR picks the build tree (default /tmp/marigold-bench-build).
set -euo pipefail

# shellcheck source=benchmarks/xserver.sh
source "$(dirname "${BASH_SOURCE[0]}")/xserver.sh"

need_tools run-startup Xvfb cmake
configure_build
if ! grep -q '^XCB_FOUND:INTERNAL=1' "$build_dir/CMakeCache.txt"; then
    echo "run-startup: the harness needs the xcb headers (Debian: libxcb1-dev)" >&2
    exit 2
fi
cmake --build "$build_dir" -j2 --target marigold marigold-barewindow marigold-startupbench >/dev/null

start_xserver run-startup

# Waited for in the background so that a stop request is acted on at once, not after
# the last run.
"$build_dir/benchmarks/marigold-startupbench" \
    --game "$build_dir/marigold" \
    --bare "$build_dir/benchmarks/marigold-barewindow" "$@" &
harness_pid=$!
started "$harness_pid" # it takes its running program down with it
status=0
wait "$harness_pid" || status=$?
exit "$status"
