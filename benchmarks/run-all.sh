#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs every hand-run benchmark and prints their figures as one Markdown table, with the
# machine they ran on. Each benchmark builds what it needs (Release) in the shared bench
# tree and starts its own X server; see the scripts for the details of each figure.
#
#   bash benchmarks/run-all.sh [--runs N]     (N start-up runs and stock clicks, default 20)
#
# Needs Xvfb, xdotool, x11-utils, imagemagick, and the xcb headers for the two harnesses
# (libxcb1-dev libxcb-damage0-dev libxcb-xtest0-dev). Exits 0 when every target is met.
set -uo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
runs=20
[[ ${1:-} == --runs ]] && runs=$2
log=$(mktemp -d)
trap 'rm -rf "$log"' EXIT

status=0
run() { # name, script, arguments...
    local name=$1
    shift
    echo "running $name ..." >&2
    bash "$here/$1" "${@:2}" >"$log/$name.out" 2>"$log/$name.err" || status=1
    [[ -s $log/$name.out ]] || { echo "$name gave no figures:" >&2; cat "$log/$name.err" >&2; }
}
run startup run-startup.sh --runs "$runs"
run instructions run-startup-instructions.sh
run countup run-countup-cpu.sh
run click run-stock-click.sh --runs "$runs"
# The browser's figure has no target, and a tree without Qt WebEngine has no browser.
echo "running browser ..." >&2
bash "$here/run-browser.sh" >"$log/browser.out" 2>"$log/browser.err" || true

field() { # file, awk program
    awk "$2" "$log/$1.out"
}
verdict() { # file, pattern of its verdict line
    grep -q "^$2.*PASS" "$log/$1.out" && echo PASS || echo FAIL
}

bare_ms=$(field startup '/^bare window/ {print $3}')
game_ms=$(field startup '/^marigold / {print $2}')
bare_mib=$(field startup '/^bare window/ {print $5}')
game_mib=$(field startup '/^marigold / {print $4}')
time_ratio=$(field startup '/^game \/ bare/ {print $4}')
rss_ratio=$(field startup '/^game \/ bare/ {print $6}')
game_instructions=$(field instructions '/^marigold \(this tree\)/ {print $4, $5}')
bare_instructions=$(field instructions '/^bare Qt window/ {print $4, $5}')
label_instructions=$(field instructions '/^bare window with one label/ {print $6, $7}')
cpu=$(field countup '/^CPU \/ wall/ {print $4}')
click_median=$(field click '/^median/ {print $2}')
click_range=$(field click '/^fastest/ {lo = $2} /^slowest/ {hi = $2} END {print lo "–" hi}')

browser_warm=$(field browser '/^warm/ {print $2}')
browser_cold=$(field browser '/^cold/ {print $2}')
if [[ -n $browser_warm ]]; then
    browser="${browser_warm} ms warm (median of 10), ${browser_cold} ms cold"
else
    browser="n/a (browser not built)"
fi

model=$(awk -F': ' '/^model name/ {print $2; exit}' /proc/cpuinfo)
cat <<TABLE
Marigold benchmarks, $(date -u '+%Y-%m-%d %H:%M UTC'); $(nproc) cores ($model), load average $(cut -d' ' -f1-3 /proc/loadavg)

| Figure | Marigold | Yardstick | Target | Result |
|---|---|---|---|---|
| Start-up, exec to table mapped (median of $runs) | ${game_ms:-?} ms | bare Qt window ${bare_ms:-?} ms | ≤ 1.25× | ${time_ratio:-?} $(verdict startup time:) |
| Start-up in instructions, exec to the table painted (callgrind, median of 3) | ${game_instructions:-?} | bare Qt window ${bare_instructions:-?}, with one label ${label_instructions:-?} | | |
| Peak memory at start-up (median) | ${game_mib:-?} MiB | bare Qt window ${bare_mib:-?} MiB | ≤ 1.25× | ${rss_ratio:-?} $(verdict startup memory:) |
| CPU while counting up a 60-second time bonus | ${cpu:-?} % of one core | | < 2 % | $(verdict countup '') |
| Stock click to waste repaint (median of $runs, range) | ${click_median:-?} ms (${click_range}) | | < 50 ms | $(verdict click '') |
| Web button to the browser's home page | $browser | | | |
TABLE
exit "$status"
