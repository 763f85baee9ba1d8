#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
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

configure_build
if ! cmake --build "$build_dir" -j2 --target marigold-browser marigold-browserbench >/dev/null 2>&1; then
    echo "run-browser: the browser is not built here (is Qt WebEngine installed?)" >&2
    exit 2
fi

start_xserver run-browser
bench=("$build_dir/benchmarks/marigold-browserbench" --browser "$build_dir/marigold-browser")

sync
cache="first start of this run: could not drop the file cache"
if [[ -w /proc/sys/vm/drop_caches ]] && echo 3 >/proc/sys/vm/drop_caches 2>/dev/null; then
    cache="file cache dropped"
fi
# The harness prints one line a run, then "median M ms, min A ms, max B ms over N runs".
cold=$("${bench[@]}" --runs 1 2>/dev/null | awk '/^median/ {print $2}')
warm=$("${bench[@]}" --runs "$runs" 2>/dev/null | awk '/^median/ {print $2, $5, $8}')
[[ -n $cold && -n $warm ]] || { echo "run-browser: the browser did not show its home page" >&2; exit 1; }
read -r median fastest slowest <<<"$warm"
echo "cold $cold ms ($cache)"
echo "warm $median ms (median of $runs, $fastest–$slowest ms)"
