#!/usr/bin/env bash
# Web-button benchmark, run by hand: the time from pressing "Visit Me On The Web" to the
# home page's title in the browser's caption. Cold: the first start after the system's
# file cache is dropped (needs root; otherwise the first start of this run). Warm: the
# starts after it. Builds what it needs (Release) like the other benchmarks.
#
#   bash benchmarks/run-browser.sh [--runs N]
set -euo pipefail

# shellcheck source=benchmarks/xserver.sh
source "$(dirname "${BASH_SOURCE[0]}")/xserver.sh"

runs=10
[[ ${1:-} == --runs ]] && runs=$2

cmake -S "$source_dir" -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build_dir" -j2 --target marigold-browser marigold-browserbench >/dev/null

start_xserver run-browser
bench=("$build_dir/benchmarks/marigold-browserbench" --browser "$build_dir/marigold-browser")

sync
if [[ -w /proc/sys/vm/drop_caches ]] && echo 3 >/proc/sys/vm/drop_caches 2>/dev/null; then
    echo "cold (file cache dropped):"
else
    echo "cold (could not drop the file cache: first start of this run):"
fi
"${bench[@]}" --runs 1 2>/dev/null | tail -1
echo "warm:"
"${bench[@]}" --runs "$runs" 2>/dev/null | tail -1
